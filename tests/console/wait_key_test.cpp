#include "console/wait_key.h"

#include <gtest/gtest.h>

#include "support/test_program.h"

namespace shiftlog {
namespace {

using testing::TestProgram;

TEST(KeyCode, FollowsTheRulesInOrder) {
  EXPECT_EQ(KeyCodeOf("+"), 43);
  EXPECT_EQ(KeyCodeOf("\x1b"), 27);
  EXPECT_EQ(KeyCodeOf("\t"), 9);
  EXPECT_EQ(KeyCodeOf("9"), 9);  // the digit 9 reads like [TAB]
  EXPECT_EQ(KeyCodeOf("8"), 8);  // and 8 like [BACKSPACE]
  EXPECT_EQ(KeyCodeOf("0"), 0);
  EXPECT_EQ(KeyCodeOf("a"), 0);
  EXPECT_EQ(KeyCodeOf("-"), 0);
  EXPECT_EQ(KeyCodeOf(ExtendedKey(kKeyF8)), 66);
  EXPECT_EQ(KeyCodeOf(ExtendedKey(kKeyF11)), 27);  // [F11] acts as [ESC]
  EXPECT_EQ(KeyCodeOf(ExtendedKey(kKeyF12)), 134);
}

TEST(KeyCode, AltDigitsBecomeFunctionKeys) {
  EXPECT_EQ(TranslateAltKeys(ExtendedKey(120)), ExtendedKey(kKeyF1));   // Alt+1
  EXPECT_EQ(TranslateAltKeys(ExtendedKey(129)), ExtendedKey(kKeyF10));  // Alt+0
  EXPECT_EQ(TranslateAltKeys(ExtendedKey(130)), ExtendedKey(kKeyF11));  // Alt+-
  EXPECT_EQ(TranslateAltKeys(ExtendedKey(131)), ExtendedKey(kKeyF12));  // Alt+=
  EXPECT_EQ(TranslateAltKeys(ExtendedKey(kKeyUp)), ExtendedKey(kKeyUp));
}

TEST(TwelveHourClock, ShowsTwelveForMidnightAndNoon) {
  EXPECT_EQ(TwelveHourClock(9, 5, 7), " 9:05:07am");
  EXPECT_EQ(TwelveHourClock(12, 30, 0), "12:30:00pm");
  EXPECT_EQ(TwelveHourClock(0, 1, 59), "12:01:59am");
  EXPECT_EQ(TwelveHourClock(11, 59, 59), "11:59:59am");
  EXPECT_EQ(TwelveHourClock(23, 0, 0), "11:00:00pm");
}

TEST(WaitKey, DrawsClockAndTimeTagWhileWaitingAndLeavesPositionAndColours) {
  TestProgram t;
  Console& console = t.console();
  t.clock.Set({2012, 12, 15, 14, 7, 9, 0});
  console.screen.SetColour(7, 0);
  console.screen.Locate(10, 20);
  t.terminal.Tick();
  t.terminal.onIdle = [&](int) { t.clock.AdvanceSeconds(1); };
  t.terminal.Type("x");
  WaitKey(console, true, 30, 5, "     ");
  EXPECT_EQ(console.keyText, "x");
  EXPECT_EQ(console.keyCode, 0);
  EXPECT_EQ(t.terminal.Text(1, 2, 10), " 2:07:10pm");
  EXPECT_EQ(t.terminal.Foreground(1, 2), 15);
  EXPECT_EQ(t.terminal.Background(1, 2), 1);
  EXPECT_EQ(t.terminal.Text(5, 30, 7), " 14:07 ");
  EXPECT_EQ(t.terminal.Background(5, 31), 3);
  EXPECT_EQ(console.screen.Row(), 10);
  EXPECT_EQ(console.screen.Column(), 20);
  EXPECT_EQ(console.screen.Foreground(), 7);
}

TEST(WaitKey, TagTextShowsOnMagentaCutToFiveAndMonochromeIsBlackOnGrey) {
  TestProgram t;
  Console& console = t.console();
  t.terminal.Type("\r");
  WaitKey(console, false, 10, 3, "ABCDEFG");
  EXPECT_EQ(t.terminal.Text(3, 10, 7), " ABCDE ");
  EXPECT_EQ(t.terminal.Background(3, 11), 5);
  EXPECT_EQ(console.keyCode, 13);
  EXPECT_EQ(t.terminal.Text(1, 2, 10), std::string(10, ' '));  // no clock asked for

  console.displayMode = kMonochrome;
  t.terminal.Type("\r");
  WaitKey(console, true, 10, 3, "");
  EXPECT_EQ(t.terminal.Attribute(3, 11), 0x70);
  EXPECT_EQ(t.terminal.Attribute(1, 2), 0x07);
}

TEST(WaitKey, FunctionKeysAltKeysAndInsert) {
  TestProgram t;
  Console& console = t.console();
  const struct {
    KeyText typed;
    KeyText text;
    int code;
  } cases[] = {
      {ExtendedKey(kKeyF11), ExtendedKey(kKeyF11), 27},   // F11 keeps its text, acts as ESC
      {ExtendedKey(130), ExtendedKey(kKeyF11), 27},       // Alt+-
      {ExtendedKey(120), ExtendedKey(kKeyF1), 59},        // Alt+1
      {ExtendedKey(131), ExtendedKey(kKeyF12), 134},      // Alt+=
      {ExtendedKey(kKeyInsert), ExtendedKey(kKeyCtrlInsert), 146},  // plain Insert punches
      {ExtendedKey(kKeyCtrlInsert), ExtendedKey(kKeyCtrlInsert), 146},
      {"Q", "Q", 0},
  };
  for (const auto& c : cases) {
    t.terminal.Type(c.typed);
    WaitKey(console, false, 0, 0, "");
    EXPECT_EQ(console.keyText, c.text);
    EXPECT_EQ(console.keyCode, c.code);
  }
}

TEST(WaitKey, F2NeverReachesTheScreenEvenWithoutGraphics) {
  TestProgram t;
  Console& console = t.console();
  console.noGraphics = 1;
  t.terminal.TypeExtended(kKeyF2);
  t.terminal.TypeExtended(121);  // Alt+2
  t.terminal.Type("\x1b");
  WaitKey(console, false, 0, 0, "");
  EXPECT_EQ(console.keyCode, 27);
  EXPECT_EQ(t.terminal.PendingKeys(), 0u);
}

}  // namespace
}  // namespace shiftlog
