#include "supervisor/time_card_viewer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/wait_key.h"
#include "punch/card_fixture.h"
#include "text/text_fields.h"

namespace shiftlog {
namespace {

struct ViewerTest : testing::CardFixture {
  ViewerTest() {
    t.program.frame.cardNameInUse = "20121208";
    t.program.frame.dateText = "12-08-2012";
    std::string bytes = NewCardFile();
    bytes.replace(PunchAt(3, 1, 1), 10, "08:0012:30");
    SaveCardFile(bytes, "20121208");
  }
  void Run(const std::vector<KeyText>& keys) {
    for (const KeyText& key : keys) t.terminal.Type(key);
    EXPECT_THROW(TimeCardViewer(t.program), ScriptExhausted);
  }
  std::string CardNumber() const { return t.terminal.Text(1, 62, 16); }
};

TEST_F(ViewerTest, PagingStopsAtTheFirstAndLastCard) {
  const KeyText up = ExtendedKey(kKeyUp), down = ExtendedKey(kKeyDown), pageUp = ExtendedKey(kKeyPageUp),
                pageDown = ExtendedKey(kKeyPageDown), end = ExtendedKey(kKeyEnd), f1 = ExtendedKey(kKeyF1);
  const std::pair<std::vector<KeyText>, int> cases[] = {
      {{pageUp, up}, 1},
      {{pageDown, down, up}, 2},
      {{end, pageDown, down}, 56},
      {{end, up, ExtendedKey(kKeyHome)}, 1},
      {{pageDown, f1, "\x1b"}, 2},                    // the name choice cancelled: the card shown before
      {{pageDown, f1, down, down, "\r"}, 3},          // chosen by name
      {{pageDown, "\t", "\x1b", "9", "4", "\r"}, 2},  // the export dialog, cancelled twice
  };
  for (const auto& [keys, card] : cases) {
    Run(keys);
    EXPECT_EQ(CardNumber(), TextField("TIME CARD #" + NumberText(card) + "  ", 16)) << keys.size() << " keys";
  }
  t.terminal.Type("\x1b");
  TimeCardViewer(t.program);  // [ESC] leaves
}

TEST_F(ViewerTest, ShowsTheChosenWeekReadAfreshAtEveryStep) {
  const KeyText pageDown = ExtendedKey(kKeyPageDown);
  Run({pageDown, pageDown});
  EXPECT_EQ(t.terminal.Text(1, 1, 60), "TIME CARD DATE  20121208\xDB 00001234 BOB BAKER               \xDB");
  EXPECT_EQ(CardNumber(), "TIME CARD # 3   ");
  EXPECT_EQ(t.terminal.RowText(25),
            "[PG UP]  [PG DN]  [F1] Choose by name  [TAB] Print/Save  [+] Totals  [ESC] Done ");
  EXPECT_EQ(t.terminal.Text(4, 2, 10) + t.terminal.Text(6, 16, 5), "12-02-201208:00");  // that week's Monday
  EXPECT_EQ(t.terminal.Attribute(1, 1), 0x1F);

  // Another station punches while card 3 is shown: once [+] and the key closing the totals are
  // through, the card is drawn again as the file now holds it.
  t.terminal.Type(pageDown);
  t.terminal.Type(pageDown);
  t.terminal.Tick();
  t.terminal.onIdle = [this](int) {
    std::string bytes = CardBytes("20121208");
    bytes.replace(PunchAt(3, 1, 3), 10, "13:0014:00");
    SaveCardFile(bytes, "20121208");
    t.terminal.onIdle = nullptr;
  };
  Run({"+", "x"});
  EXPECT_EQ(t.terminal.Text(6, 32, 5) + t.terminal.Text(25, 1, 7), "13:00[PG UP]");
  Run({pageDown, pageDown, "+"});
  EXPECT_EQ(t.terminal.Text(25, 11, 10), "MON 0530 \xB3");

  // A file cut in the middle of card 3: what is there shows, the rest reads blank.
  SaveCardFile(CardBytes("20121208").substr(0, Record(3) + 100), "20121208");
  t.console().displayMode = kMonochrome;
  Run({pageDown, pageDown});
  EXPECT_EQ(t.terminal.Text(6, 16, 5) + t.terminal.Text(5, 2, 12), "08:00" + std::string(12, ' '));
  Run({ExtendedKey(kKeyEnd)});
  EXPECT_EQ(t.terminal.Text(1, 25, 4) + CardNumber(), "\xDB  \xDBTIME CARD # 56  ");  // no ID#, no name
  EXPECT_EQ(t.terminal.Attribute(1, 1), 0x07);
  EXPECT_EQ(CardBytes("20121208").size(), Record(3) + 100);  // viewing never writes
}

}  // namespace
}  // namespace shiftlog
