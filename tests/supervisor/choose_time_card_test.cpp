#include "supervisor/choose_time_card.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/wait_key.h"
#include "support/test_program.h"
#include "text/text_fields.h"

namespace shiftlog {
namespace {

struct ChooseTimeCardTest : ::testing::Test {
  ChooseTimeCardTest() {
    auto& a = t.program.store.associates;
    for (size_t slot = 1; slot <= kSlotCount; ++slot) {
      a.names[slot] = TextField("NAME " + std::to_string(slot), 24);
      a.ids[slot] = TextField("ID" + std::to_string(slot), 8);
    }
    a.names[5] = std::string(24, ' ');  // a vacant slot
    a.names[1] = TextField("   PAT", 24);
    a.supervisor[2] = 1;
  }
  testing::TestProgram t;
};

TEST_F(ChooseTimeCardTest, TheBarWalksTheSlotsInOrderOverBothPages) {
  const KeyText up = ExtendedKey(kKeyUp), down = ExtendedKey(kKeyDown), pageUp = ExtendedKey(kKeyPageUp),
                pageDown = ExtendedKey(kKeyPageDown);
  const std::pair<std::vector<KeyText>, int> cases[] = {
      {{}, 1},
      {{up}, 56},
      {std::vector<KeyText>(14, down), 15},  // the right column of the same page
      {std::vector<KeyText>(28, down), 29},  // on to the second page
      {std::vector<KeyText>(56, down), 1},
      {{up, pageDown}, 28},  // the page turns, row and column stay
      {{pageUp, pageDown, pageDown}, 29},
      {{down, ExtendedKey(kKeyLeft), ExtendedKey(kKeyHome), ExtendedKey(kKeyF1), "x", "\t"},
       2},                                        // the bar stays
      {{down, down, down, down, "\r", down}, 6},  // [ENTER] on the vacant slot 5 beeps
  };
  for (const auto& [keys, slot] : cases) {
    for (const KeyText& key : keys) t.terminal.Type(key);
    t.terminal.Type("\r");
    EXPECT_EQ(ChooseTimeCard(t.program), slot) << keys.size() << " keys";
    EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  }
  EXPECT_EQ(t.terminal.Beeps(), 1);
  EXPECT_EQ(t.program.store.associates.names[1], TextField("PAT", 24));  // stored back without leading blanks
  t.terminal.TypeExtended(kKeyF11);
  EXPECT_EQ(ChooseTimeCard(t.program), 0);
}

TEST_F(ChooseTimeCardTest, GridAndBarInColourAndMonochrome) {
  t.terminal.TypeExtended(kKeyDown);
  EXPECT_THROW(ChooseTimeCard(t.program), ScriptExhausted);
  EXPECT_EQ(t.terminal.Text(2, 22, 36), "Choose time card you wish to modify.");
  EXPECT_EQ(t.terminal.RowText(4),
            "    *    EMPLOYEE NAME         EMP ID#      *    EMPLOYEE NAME         EMP ID#  ");
  const std::string line24(24, '\xC4'), line8(8, '\xC4');
  EXPECT_EQ(t.terminal.RowText(5), "\xDA\xC4\xC4\xC2\xC4\xC2" + line24 + "\xC2" + line8 +
                                       "\xC2\xC2\xC4\xC4\xC2\xC4\xC2" + line24 + "\xC2" + line8 + "\xBF");
  EXPECT_EQ(t.terminal.RowText(7),
            "\xB3 2\xB3*\xB3NAME 2                  \xB3ID2     \xB3\xB3"
            "16\xB3 \xB3NAME 16                 \xB3ID16    \xB3");
  EXPECT_EQ(t.terminal.Text(20, 39, 3) + t.terminal.Text(20, 80, 1), "\xC4\xC1\xC1\xD9");
  EXPECT_EQ(t.terminal.Text(23, 26, 32), "Highlight name and press [ENTER]");
  EXPECT_EQ(t.terminal.Attribute(7, 7), 0x3F);  // the bar on slot 2
  EXPECT_EQ(t.terminal.Attribute(7, 31), 0x1F);
  EXPECT_EQ(t.terminal.Attribute(6, 7), 0x1F);

  t.console().displayMode = kMonochrome;
  t.terminal.TypeExtended(kKeyPageDown);
  EXPECT_THROW(ChooseTimeCard(t.program), ScriptExhausted);
  EXPECT_EQ(t.terminal.Text(6, 1, 13) + t.terminal.Text(19, 41, 13),
            "\xB3"
            "29\xB3 \xB3NAME 29\xB3"
            "56\xB3 \xB3NAME 56");
  EXPECT_EQ(t.terminal.Attribute(6, 7), 0x70);
  EXPECT_EQ(t.terminal.Attribute(7, 7), 0x07);
}

}  // namespace
}  // namespace shiftlog
