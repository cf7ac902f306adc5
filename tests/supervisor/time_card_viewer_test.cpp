#include "supervisor/time_card_viewer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/wait_key.h"
#include "punch/card_fixture.h"
#include "text/text_fields.h"

namespace shiftlog {
namespace {

using testing::CardFixture;

struct ViewerTest : CardFixture {
  ViewerTest() {
    t.program.frame.cardNameInUse = "20121208";
    t.program.frame.dateText = "12-08-2012";
    std::string bytes = NewCardFile();
    bytes.replace(PunchAt(3, 1, 1), 10, "08:0012:30");
    SaveCardFile(bytes, "20121208");
  }
  void RunUntilScriptEnds() { EXPECT_THROW(TimeCardViewer(t.program), ScriptExhausted); }
  std::string CardNumber() const { return t.terminal.Text(1, 62, 16); }
  static std::string CardNumberText(int n) { return TextField("TIME CARD #" + NumberText(n) + "  ", 16); }
};

TEST_F(ViewerTest, PagingStopsAtTheFirstAndLastCard) {
  struct Case {
    std::vector<KeyText> keys;
    int card;
  };
  const KeyText up = ExtendedKey(kKeyUp), down = ExtendedKey(kKeyDown), pageUp = ExtendedKey(kKeyPageUp),
                pageDown = ExtendedKey(kKeyPageDown), home = ExtendedKey(kKeyHome),
                end = ExtendedKey(kKeyEnd), f1 = ExtendedKey(kKeyF1);
  const Case cases[] = {
      {{}, 1},
      {{pageUp, up}, 1},
      {{pageDown}, 2},
      {{down, down, up}, 2},
      {{end}, 56},
      {{end, pageDown, down}, 56},
      {{end, up, home}, 1},
      {{pageDown, f1, "\x1b"}, 2},            // the name choice cancelled: the card shown before
      {{pageDown, f1, down, down, "\r"}, 3},  // chosen by name
      {{pageDown, "\t", "9", "x", "0"}, 2},   // nothing happens yet
  };
  for (const Case& c : cases) {
    for (const KeyText& key : c.keys) t.terminal.Type(key);
    RunUntilScriptEnds();
    EXPECT_EQ(CardNumber(), CardNumberText(c.card)) << c.keys.size() << " keys";
  }
}

TEST_F(ViewerTest, ShowsTheWeekOfTheChosenFileAndReReadsTheCardOnEveryStep) {
  t.terminal.TypeExtended(kKeyPageDown);
  t.terminal.TypeExtended(kKeyPageDown);
  RunUntilScriptEnds();
  EXPECT_EQ(t.terminal.Text(1, 1, 60), "TIME CARD DATE  20121208\xDB 00001234 BOB BAKER               \xDB");
  EXPECT_EQ(CardNumber(), "TIME CARD # 3   ");
  EXPECT_EQ(t.terminal.RowText(25),
            "[PG UP]  [PG DN]  [F1] Choose by name  [TAB] Print/Save  [+] Totals  [ESC] Done ");
  EXPECT_EQ(t.terminal.Text(6, 16, 5), "08:00");  // Monday of that week
  EXPECT_EQ(t.terminal.Text(4, 2, 10), "12-02-2012");
  EXPECT_EQ(t.terminal.Attribute(1, 1), 0x1F);

  // Another station punches meanwhile: [HOME] and back show it.
  t.terminal.TypeExtended(kKeyPageDown);
  t.terminal.TypeExtended(kKeyPageDown);
  t.terminal.Tick();
  t.terminal.onIdle = [this](int) {
    std::string bytes = CardBytes("20121208");
    bytes.replace(PunchAt(3, 1, 3), 5, "13:00");
    SaveCardFile(bytes, "20121208");
    t.terminal.onIdle = nullptr;
  };
  t.terminal.TypeExtended(kKeyHome);
  t.terminal.TypeExtended(kKeyPageDown);
  t.terminal.TypeExtended(kKeyPageDown);
  RunUntilScriptEnds();
  EXPECT_EQ(t.terminal.Text(6, 32, 5), "13:00");

  // [+] shows the totals; any key closes them and the card is drawn again.
  t.terminal.TypeExtended(kKeyPageDown);
  t.terminal.TypeExtended(kKeyPageDown);
  t.terminal.Type("+");
  RunUntilScriptEnds();
  EXPECT_EQ(t.terminal.Text(25, 11, 10), "MON 0430 \xB3");
  t.terminal.TypeExtended(kKeyPageDown);
  t.terminal.TypeExtended(kKeyPageDown);
  t.terminal.Type("+");
  t.terminal.Type("x");
  RunUntilScriptEnds();
  EXPECT_EQ(t.terminal.Text(25, 1, 7), "[PG UP]");

  t.console().displayMode = kMonochrome;
  t.terminal.Type("\x1b");
  TimeCardViewer(t.program);  // [ESC] leaves
  EXPECT_EQ(t.terminal.Attribute(1, 1), 0x07);
  EXPECT_EQ(t.terminal.Text(1, 1, 25), "TIME CARD DATE  20121208\xDB");
}

TEST_F(ViewerTest, ACutFileShowsBlankCards) {
  // The file ends in the middle of card 3: its punches are there, its day reasons are not.
  std::string bytes = NewCardFile();
  bytes.replace(PunchAt(3, 0, 1), 5, "07:00");
  SaveCardFile(bytes.substr(0, Record(3) + 100), "20121208");
  t.terminal.TypeExtended(kKeyPageDown);
  t.terminal.TypeExtended(kKeyPageDown);
  RunUntilScriptEnds();
  EXPECT_EQ(t.terminal.Text(3, 16, 5), "07:00");
  EXPECT_EQ(t.terminal.Text(5, 2, 12), std::string(12, ' '));
  t.terminal.TypeExtended(kKeyEnd);
  RunUntilScriptEnds();
  EXPECT_EQ(CardNumber(), "TIME CARD # 56  ");
  EXPECT_EQ(t.terminal.Text(1, 26, 11), "  \xDB" + std::string(8, ' '));  // no ID#, no name
  EXPECT_EQ(t.terminal.Text(3, 16, 5), std::string(5, '\0'));
  EXPECT_EQ(CardBytes("20121208").size(), Record(3) + 100);  // never rewritten
}

}  // namespace
}  // namespace shiftlog
