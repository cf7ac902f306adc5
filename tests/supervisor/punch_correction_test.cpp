#include "supervisor/punch_correction.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "console/wait_key.h"
#include "punch/card_fixture.h"
#include "store/time_card_file.h"
#include "text/text_fields.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;

// Slot 7 (CAROL CHIEF) corrects slot 3's card (BOB BAKER) on a shared data path. The card holds
// its own spelling of the name, so any write shows in the name field.
struct PunchCorrectionTest : testing::CardFixture {
  PunchCorrectionTest() {
    ShareDataPath();
    t.program.frame.cardNameInUse = "20121215";
    t.program.frame.dateText = "12-15-2012";
    t.program.frame.loggedInSlot = 7;
    initial = NewCardFile();
    initial.replace(Record(3), 24, TextField("B. BAKER", 24));
    initial.replace(PunchAt(3, 0, 1), 10, "08:0516:58");
    initial.replace(CorrectionAt(3, 0, 2), 5, "17:00");
    initial[CorrectorAt(3, 0, 2)] = 5;
    SaveCardFile(initial);
  }
  // Keys written as a script: ^ _ < > are the arrows, every other character its key. True when
  // [ESC] left the screen, false when it still waited for a key at the end.
  bool Run(const std::string& script) {
    for (const char c : script) {
      const size_t arrow = std::string("^_<>").find(c);
      const int arrows[] = {kKeyUp, kKeyDown, kKeyLeft, kKeyRight};
      t.terminal.Type(arrow == std::string::npos ? KeyText(1, c) : ExtendedKey(arrows[arrow]));
    }
    try {
      PunchCorrection(t.program, 3);
      return true;
    } catch (const ScriptExhausted&) {
      return false;
    }
  }
  bool NoLockFile() const { return !fs::exists(CardFile().parent_path() / "_0121215.CLK"); }
  std::string initial;
};

TEST_F(PunchCorrectionTest, TypedTimesAreCommittedByTheRules) {
  struct Case {
    std::string script;
    int day, slot;     // the field written; slot 0: the day's reason
    std::string text;  // what it holds then; empty: nothing is written
    int beeps;
    bool left;
  };
  const Case cases[] = {
      {"0830\x1b", 0, 1, "08:30", 0, true},
      {"25>\x1b", 0, 1, "", 2, false},  // not even [ESC] leaves 25:00
      {"0760_", 0, 1, "", 1, false},
      {">><<\x1b", 0, 1, "", 0, true},        // left as entered
      {">0000\x1b", 0, 2, "     ", 0, true},  // 00:00 erases
      {"25^<", 0, 1, "", 0, false},           // at their limits the arrows commit nothing
      {"______>>>>>>>25_>", 0, 1, "", 0, false},
      {"123456\x1b", 0, 1, "12:36", 0, true},
      {"12\b3\b\b\b07\x1b", 0, 1, "07:00", 0, true},
      {"09+x1\x1b", 0, 1, "09:10", 0, true},
      {">0000+x5\x1b", 0, 2, "00:05", 0, true},  // erased by [+], then typed over from 00:00
      {">_1730^\x1b", 1, 2, "17:30", 0, true},
      {"\tsick\x1b\x1b", 0, 0, "SICK", 0, true},
      {"_\ta\r\x1b", 1, 0, "A", 0, true},
      {"5\tb^\t\x1b", 0, 0, "B", 0, true},  // the 5 typed before [TAB] is dropped
  };
  for (const Case& c : cases) {
    SaveCardFile(initial);
    t.terminal.ResetBeeps();
    EXPECT_EQ(Run(c.script), c.left) << c.script;
    std::string expected = initial;
    if (!c.text.empty()) expected.replace(Record(3), 24, t.program.store.associates.names[3]);
    if (!c.text.empty() && c.slot == 0) expected.replace(ReasonAt(3, c.day), 12, TextField(c.text, 12));
    if (!c.text.empty() && c.slot != 0) {
      expected.replace(CorrectionAt(3, c.day, c.slot), 5, c.text);
      expected[CorrectorAt(3, c.day, c.slot)] = c.text == "     " ? 0 : 7;
    }
    EXPECT_TRUE(CardBytes() == expected) << c.script;
    EXPECT_EQ(t.terminal.Beeps(), c.beeps) << c.script;
    EXPECT_TRUE(NoLockFile());
  }
}

TEST_F(PunchCorrectionTest, ScreenInColourAndMonochrome) {
  for (const bool colour : {true, false}) {
    t.console().displayMode = colour ? kColourDisplay : kMonochrome;
    Run(">1730<1");
    EXPECT_EQ(t.terminal.Text(1, 1, 60),
              "TIME CARD DATE  20121215\xDB 00001234 BOB BAKER               \xDB");
    EXPECT_EQ(t.terminal.RowText(25),
              "[\x18][\x19][\x1A][\x1B] Type in time  [TAB]=Reason  00:00 to erase  [+] = Total  [ESC] Done");
    EXPECT_EQ(t.terminal.Text(4, 16, 13) + t.terminal.Text(5, 23, 5), "10:00 \xB3 17:30   7 ");
    EXPECT_EQ(t.terminal.Attribute(4, 16), colour ? 0x5F : 0x70);  // the field being typed
    EXPECT_EQ(t.terminal.Attribute(4, 24), colour ? 0x1F : 0x07);
    EXPECT_EQ(t.terminal.LastFrame().cursor.column, 17);  // after the first digit
    Run("+");
    EXPECT_EQ(t.terminal.Text(25, 1, 20), "SUN 0925 \xB3MON 0000 \xB3");
  }
}

// Two programs on one store folder: a register punches the card while the correction screen
// has it open. The correction goes into the card as it then stands, so the punch stays, and the
// screen shows it.
TEST_F(PunchCorrectionTest, APunchMadeWhileTheScreenIsOpenSurvivesTheCorrection) {
  t.terminal.TypeText("08");
  t.terminal.Tick();
  t.terminal.onIdle = [this](int) {
    const pid_t pid = fork();
    if (pid == 0) {
      TimeCard card;
      std::string name, id;
      StoreContext& store = t.program.store;
      _exit(ReadTimeCard(store, card, name, 3, "20121215", id) &&
                    PunchTimeCard(store, card, name, 3, "20121215", id, 0, 3, "12:01")
                ? 0
                : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  };
  EXPECT_FALSE(Run("30>"));
  EXPECT_EQ(CardBytes().substr(PunchAt(3, 0, 1), 15) + CardBytes().substr(CorrectionAt(3, 0, 1), 10),
            "08:0516:5812:0108:3017:00");
  EXPECT_EQ(t.terminal.Text(3, 32, 5), "12:01");
  EXPECT_TRUE(NoLockFile());
}

// The card file deleted at another station while the screen is open: each change is reported
// and not kept, nothing brings the file back, and [ESC] still leaves.
TEST_F(PunchCorrectionTest, AFileGoneWhileOpenIsReportedAndTheScreenCanBeLeft) {
  t.terminal.Type("0");
  t.terminal.Tick();
  t.terminal.onIdle = [this](int) { fs::remove(CardFile()); };
  EXPECT_TRUE(Run("9>y\tx\ry<\x1b"));
  EXPECT_EQ(t.terminal.Beeps(), 2);  // the two run-time error reports
  EXPECT_FALSE(fs::exists(CardFile()));
  EXPECT_TRUE(NoLockFile());
  EXPECT_EQ(t.program.card.Text(kCorrectionRow, 0, 1) + t.program.card.reasons[1], std::string(17, ' '));
}

}  // namespace
}  // namespace shiftlog
