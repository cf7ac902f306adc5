#include "supervisor/choose_time_card.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/wait_key.h"
#include "supervisor/associate_grid.h"
#include "support/test_program.h"
#include "text/text_fields.h"

namespace shiftlog {
namespace {

using testing::TestProgram;

struct ChooseTimeCardTest : ::testing::Test {
  ChooseTimeCardTest() {
    auto& a = t.program.store.associates;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
      a.names[static_cast<size_t>(slot)] = TextField("NAME " + std::to_string(slot), 24);
      a.ids[static_cast<size_t>(slot)] = TextField("ID" + std::to_string(slot), 8);
    }
    a.names[5] = std::string(24, ' ');  // a vacant slot
    a.supervisor[2] = 1;
  }
  TestProgram t;
};

TEST_F(ChooseTimeCardTest, TheBarWalksTheSlotsInOrderOverBothPages) {
  struct Case {
    std::vector<int> moves;  // scan codes before [ENTER]
    int slot;
  };
  const Case cases[] = {
      {{}, 1},
      {{kKeyUp}, 56},
      {{kKeyUp, kKeyDown}, 1},
      {std::vector<int>(13, kKeyDown), 14},
      {std::vector<int>(14, kKeyDown), 15},  // the right column of the same page
      {std::vector<int>(28, kKeyDown), 29},  // on to the second page
      {std::vector<int>(56, kKeyDown), 1},
      {{kKeyPageDown}, 29},
      {{kKeyPageUp, kKeyPageUp}, 1},
      {{kKeyUp, kKeyPageDown}, 28},                            // the page turns, row and column stay
      {{kKeyDown, kKeyLeft, kKeyRight, kKeyHome, kKeyF1}, 2},  // other keys leave the bar where it is
  };
  for (const Case& c : cases) {
    for (int key : c.moves) t.terminal.TypeExtended(key);
    t.terminal.Type("\r");
    EXPECT_EQ(ChooseTimeCard(t.program), c.slot) << c.moves.size() << " moves";
    EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  }
}

TEST_F(ChooseTimeCardTest, EscapeGivesNoneAndAVacantSlotIsRefused) {
  t.terminal.Type("\x1b");
  EXPECT_EQ(ChooseTimeCard(t.program), 0);
  t.terminal.TypeExtended(kKeyF11);
  EXPECT_EQ(ChooseTimeCard(t.program), 0);

  for (int i = 0; i < 4; ++i) t.terminal.TypeExtended(kKeyDown);
  t.terminal.Type("\r");
  t.terminal.TypeExtended(kKeyDown);
  t.terminal.Type("\r");
  EXPECT_EQ(ChooseTimeCard(t.program), 6);
  EXPECT_EQ(t.terminal.Beeps(), 1);

  // A name with leading blanks goes back without them when the bar leaves it.
  t.program.store.associates.names[1] = TextField("   PAT", 24);
  t.terminal.Type("\r");
  EXPECT_EQ(ChooseTimeCard(t.program), 1);
  EXPECT_EQ(t.program.store.associates.names[1], TextField("PAT", 24));
}

TEST_F(ChooseTimeCardTest, GridAndBarInColourAndMonochrome) {
  for (const int display : {kColourDisplay, kMonochrome}) {
    SCOPED_TRACE(display == kColourDisplay ? "colour" : "monochrome");
    t.console().displayMode = display;
    const bool colour = display == kColourDisplay;
    t.terminal.TypeExtended(kKeyDown);
    EXPECT_THROW(ChooseTimeCard(t.program), ScriptExhausted);
    EXPECT_EQ(t.terminal.Text(2, 22, 36), "Choose time card you wish to modify.");
    EXPECT_EQ(t.terminal.RowText(4),
              "    *    EMPLOYEE NAME         EMP ID#      *    EMPLOYEE NAME         EMP ID#  ");
    EXPECT_EQ(t.terminal.RowText(5), "\xDA\xC4\xC4\xC2\xC4\xC2" + std::string(24, '\xC4') + "\xC2" +
                                         std::string(8, '\xC4') + "\xC2\xC2\xC4\xC4\xC2\xC4\xC2" +
                                         std::string(24, '\xC4') + "\xC2" + std::string(8, '\xC4') + "\xBF");
    EXPECT_EQ(t.terminal.RowText(7),
              "\xB3 2\xB3*\xB3NAME 2                  \xB3ID2     \xB3\xB3"
              "16\xB3 \xB3NAME 16                 \xB3ID16    \xB3");
    EXPECT_EQ(t.terminal.Text(20, 1, 2), "\xC0\xC4");
    EXPECT_EQ(t.terminal.Text(20, 40, 2), "\xC1\xC1");
    EXPECT_EQ(t.terminal.Character(20, 80), 0xD9);
    EXPECT_EQ(t.terminal.Text(23, 26, 32), "Highlight name and press [ENTER]");
    EXPECT_EQ(t.terminal.Text(24, 32, 16), "[ESC] = Finished");
    // The bar on slot 2; slot 1 back in the grid's colours.
    EXPECT_EQ(t.terminal.Attribute(7, 7), colour ? 0x3F : 0x70);
    EXPECT_EQ(t.terminal.Attribute(7, 30), colour ? 0x3F : 0x70);
    EXPECT_EQ(t.terminal.Attribute(7, 31), colour ? 0x1F : 0x07);
    EXPECT_EQ(t.terminal.Attribute(6, 7), colour ? 0x1F : 0x07);
  }
  // The second page after [PAGE DOWN].
  t.terminal.TypeExtended(kKeyPageDown);
  EXPECT_THROW(ChooseTimeCard(t.program), ScriptExhausted);
  EXPECT_EQ(t.terminal.Text(6, 1, 13),
            "\xB3"
            "29\xB3 \xB3NAME 29");
  EXPECT_EQ(t.terminal.Text(19, 41, 13),
            "\xB3"
            "56\xB3 \xB3NAME 56");
  EXPECT_EQ(t.terminal.Attribute(6, 7), 0x70);
}

}  // namespace
}  // namespace shiftlog
