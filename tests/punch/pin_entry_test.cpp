#include "punch/pin_entry.h"

#include <gtest/gtest.h>

#include "console/wait_key.h"
#include "punch/pin_screens.h"
#include "support/test_program.h"

namespace shiftlog {
namespace {

using testing::TestProgram;

const KeyText kEnter = "\r";
const KeyText kEsc = "\x1b";
const KeyText kBackspace = "\b";

// A store with a few associates: slot 3 and slot 7 share a PIN, slot 7 is the supervisor.
struct PinScreens : ::testing::Test {
  PinScreens() {
    auto& a = t.program.store.associates;
    a.names[2] = "ALICE                   ";
    a.pins[2] = 4711;
    a.names[3] = "BOB                     ";
    a.pins[3] = 1234;
    a.names[7] = "CAROL                   ";
    a.pins[7] = 1234;
    a.supervisor[7] = 1;
    a.names[9] = "NINA                    ";
    a.pins[9] = 99999999;
    a.noSupervisor = 0;
  }
  TestProgram t;
};

TEST_F(PinScreens, MainScreenLayoutInColour) {
  t.terminal.Type(kEsc);
  EXPECT_EQ(MainPinScreen(t.program), 0);
  const auto& s = t.terminal;
  EXPECT_EQ(s.Text(9, 28, 26), "Enter employee PIN number.");
  EXPECT_EQ(s.Text(14, 30, 22), "Press [ESC] to cancel.");
  EXPECT_EQ(s.Text(15, 42, 16), "\xCD\xB5shiftlog 1.0\xC6\xCD");
  EXPECT_EQ(s.Character(8, 21), 201);
  EXPECT_EQ(s.Character(15, 58), 188);
  EXPECT_EQ(s.Attribute(9, 28), 0x1F);  // white on the blue panel
  EXPECT_EQ(s.Attribute(3, 3), 0x7F);   // the grey screen behind it
  EXPECT_EQ(s.Character(9, 60), 219);   // the panel's shadow
  EXPECT_EQ(s.Text(11, 36, 8), std::string(8, ' '));
  EXPECT_EQ(s.Attribute(11, 36), 0x5F);  // the field on magenta
  EXPECT_EQ(s.Background(11, 44), 1);
  EXPECT_EQ(t.program.frame.loggedInSlot, 0);
  EXPECT_EQ(t.host.registerStarts, 0);  // leaving is the caller's business
}

TEST_F(PinScreens, SupervisorGateLayoutInMonochrome) {
  t.console().displayMode = kMonochrome;
  t.terminal.TypeText("555");
  t.terminal.Type(kEnter);
  t.terminal.Type(kEsc);
  EXPECT_EQ(SupervisorGate(t.program), 0);
  const auto& s = t.terminal;
  EXPECT_EQ(s.Text(9, 27, 28), "Enter supervisor PIN number.");
  EXPECT_EQ(s.Text(15, 21, 38), "\xC8" + std::string(36, '\xCD') + "\xBC");  // no version label
  EXPECT_EQ(s.Attribute(9, 27), 0x07);
  EXPECT_EQ(s.Attribute(9, 60), 0x07);  // no shadow
  EXPECT_EQ(s.Character(9, 60), ' ');
  EXPECT_EQ(s.Attribute(11, 36), 0x70);
  EXPECT_EQ(s.Text(13, 35, 10), " No Match ");
  EXPECT_EQ(s.Attribute(13, 35), 0x07);
}

TEST_F(PinScreens, LeadingZerosDoNotCountAndTheLowerSlotWins) {
  t.terminal.TypeText("0001234");
  t.terminal.Type(kEnter);
  EXPECT_EQ(MainPinScreen(t.program), 3);
  EXPECT_EQ(t.program.frame.loggedInSlot, 3);
  EXPECT_EQ(t.program.frame.loggedInName, "BOB                     ");
  EXPECT_FALSE(t.console().screen.Cursor().visible);  // hidden for the screen that follows
  EXPECT_EQ(t.terminal.Beeps(), 0);
}

TEST_F(PinScreens, GateTakesTheLowestSupervisorAndRefusesOthers) {
  t.terminal.TypeText("4711");  // a PIN, but not a supervisor's
  t.terminal.Type(kEnter);
  t.terminal.TypeText("1234");  // slot 3 has it too, but slot 7 is the supervisor
  t.terminal.Type(kEnter);
  EXPECT_EQ(SupervisorGate(t.program), 7);
  EXPECT_EQ(t.terminal.Beeps(), 1);
  EXPECT_EQ(t.terminal.Text(13, 35, 10), " No Match ");
  EXPECT_EQ(t.program.frame.loggedInSlot, kNoMatch);  // the gate logs nobody in
}

TEST_F(PinScreens, EnterOnAnEmptyFieldBeepsAgainAndAgainWithoutNoMatch) {
  for (int i = 0; i < 5; ++i) t.terminal.Type(kEnter);
  t.terminal.TypeText("00000000");  // only zeros: also value 0
  t.terminal.Type(kEnter);
  EXPECT_THROW(MainPinScreen(t.program), ScriptExhausted);
  EXPECT_EQ(t.terminal.Beeps(), 6);
  EXPECT_EQ(t.terminal.Text(13, 35, 10), std::string(10, ' '));
  EXPECT_EQ(t.terminal.Text(11, 36, 8), std::string(8, ' '));  // the field is asked for afresh
  EXPECT_EQ(t.terminal.Text(9, 28, 26), "Enter employee PIN number.");
}

TEST_F(PinScreens, NoMatchStaysWhileTheNextPinIsTyped) {
  t.terminal.TypeText("555");
  t.terminal.Type(kEnter);
  t.terminal.TypeText("12");
  EXPECT_THROW(MainPinScreen(t.program), ScriptExhausted);
  EXPECT_EQ(t.terminal.Beeps(), 1);
  EXPECT_EQ(t.terminal.Text(13, 35, 10), " No Match ");
  EXPECT_EQ(t.terminal.Attribute(13, 35), 0x3F);
  EXPECT_EQ(t.terminal.Text(11, 36, 8), "**      ");
  EXPECT_EQ(t.terminal.Attribute(11, 36), 0x5F);
}

TEST_F(PinScreens, EightNinesFillTheFieldAndANinthIsIgnoredSilently) {
  t.terminal.TypeText("999999999");
  EXPECT_THROW(MainPinScreen(t.program), ScriptExhausted);
  EXPECT_EQ(t.terminal.Text(11, 36, 9), "******** ");
  EXPECT_FALSE(t.terminal.LastFrame().cursor.visible);
  EXPECT_EQ(t.terminal.Beeps(), 0);

  TestProgram again;
  again.program.store.associates = t.program.store.associates;
  again.terminal.TypeText("999999999");
  again.terminal.Type(kEnter);
  EXPECT_EQ(MainPinScreen(again.program), 9);
}

TEST_F(PinScreens, BackspaceBringsTheCursorBackAfterAFullField) {
  t.terminal.TypeText("12345678");
  t.terminal.Type(kBackspace);
  EXPECT_THROW(MainPinScreen(t.program), ScriptExhausted);
  const Frame& f = t.terminal.LastFrame();
  EXPECT_TRUE(f.cursor.visible);
  EXPECT_EQ(f.cursor.row, 11);
  EXPECT_EQ(f.cursor.column, 43);
  EXPECT_EQ(t.terminal.Text(11, 36, 8), "******* ");
}

TEST_F(PinScreens, EditingKeysLettersAndOtherExtendedKeys) {
  t.terminal.TypeExtended(kKeyLeft);  // nothing to take back: no effect, no sound
  t.terminal.Type(kBackspace);
  t.terminal.TypeText("123");
  t.terminal.Type(kBackspace);
  t.terminal.TypeText("a");         // not a digit: beep, dropped
  t.terminal.TypeExtended(kKeyF8);  // ignored without a sound
  t.terminal.TypeExtended(kKeyCtrlInsert);
  t.terminal.Type("\x01");  // a control character: ignored
  EXPECT_THROW(MainPinScreen(t.program), ScriptExhausted);
  EXPECT_EQ(t.terminal.Text(11, 36, 8), "**      ");
  EXPECT_EQ(t.terminal.Beeps(), 1);
  EXPECT_EQ(t.terminal.LastFrame().cursor.column, 38);
  EXPECT_TRUE(t.terminal.LastFrame().cursor.visible);
}

TEST_F(PinScreens, LeftTakesBackLikeBackspaceAndTheValueFollowsTheStars) {
  t.terminal.TypeText("12349");
  t.terminal.TypeExtended(kKeyLeft);
  t.terminal.Type(kEnter);
  EXPECT_EQ(MainPinScreen(t.program), 3);
}

TEST_F(PinScreens, KeysTypedBeforeTheScreenDrewAreAllTaken) {
  for (char c : std::string("04711")) t.terminal.TypeAhead(KeyText(1, c));
  t.terminal.TypeAhead(kEnter);
  EXPECT_EQ(MainPinScreen(t.program), 2);
}

TEST(EnterPin, OutsideDigitsOnlyModeLettersAreTakenInUpperCase) {
  TestProgram t;
  t.terminal.TypeText("ab1");
  t.terminal.Type("\x1b");
  std::string text;
  EnterPin(t.console(), 5, 10, 2, text);
  EXPECT_EQ(text, kPinCancelled);

  t.terminal.TypeText("ab1");
  t.terminal.Type("\r");
  text = "";
  EnterPin(t.console(), 5, 10, 2, text);
  EXPECT_EQ(text, "AB1");
  EXPECT_EQ(t.terminal.Text(5, 10, 8), "***     ");
  EXPECT_EQ(t.terminal.Attribute(5, 10), 0x2F);
}

TEST(PinValue, ConvertsLikeTheRegisterDoes) {
  EXPECT_EQ(PinValue(""), 0);
  EXPECT_EQ(PinValue("0000"), 0);
  EXPECT_EQ(PinValue("00012"), 12);
  EXPECT_EQ(PinValue("99999999"), 99999999);
  EXPECT_EQ(PinValue("12.5"), 12);  // halves to even
  EXPECT_EQ(PinValue("13.5"), 14);
  EXPECT_EQ(PinValue("12.6"), 13);
  // Far beyond a 32-bit PIN: no overflow, and nobody matches it.
  const long long huge = PinValue("99999999999999999999999");
  AssociateList associates;
  associates.pins[1] = -1;
  associates.pins[2] = 2147483647;
  EXPECT_EQ(MatchPin(associates, huge, false), kNoMatch);
  EXPECT_EQ(MatchPin(associates, 2147483647, false), 2);
  EXPECT_EQ(MatchPin(associates, 4294967295LL, false), kNoMatch);  // not -1 after a cut to 32 bits
  EXPECT_EQ(MatchPin(associates, 0, false), kNoMatch);
}

}  // namespace
}  // namespace shiftlog
