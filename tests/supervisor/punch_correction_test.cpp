#include "supervisor/punch_correction.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "console/wait_key.h"
#include "punch/card_fixture.h"
#include "store/time_card_file.h"
#include "supervisor/time_card_viewer.h"
#include "text/text_fields.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;

// Slot 7 (CAROL CHIEF) corrects or views slot 3's card (BOB BAKER) on a shared data path. The
// card holds its own spelling of the name, so any write shows in the name field.
struct CardScreenTest : testing::CardFixture {
  CardScreenTest() {
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
  // Keys as a script: ^ _ < > [ ] { } ! are [UP] [DOWN] [LEFT] [RIGHT] [PAGE UP] [PAGE DOWN]
  // [HOME] [END] [F1], every other character its key.
  void Type(const std::string& script) {
    for (const char c : script) {
      const size_t at = std::string("^_<>[]{}!").find(c);
      const int keys[] = {kKeyUp,       kKeyDown, kKeyLeft, kKeyRight, kKeyPageUp,
                          kKeyPageDown, kKeyHome, kKeyEnd,  kKeyF1};
      t.terminal.Type(at == std::string::npos ? KeyText(1, c) : ExtendedKey(keys[at]));
    }
  }
  // Runs the correction of card 3, or the viewer, after the script; true when [ESC] left the
  // screen, false when it still waited for a key at the end.
  bool Run(const std::string& script, bool viewer = false) {
    Type(script);
    try {
      viewer ? TimeCardViewer(t.program) : PunchCorrection(t.program, 3);
      return true;
    } catch (const ScriptExhausted&) {
      return false;
    }
  }
  bool NoLockFile() const { return !fs::exists(CardFile().parent_path() / "_0121215.CLK"); }
  std::string initial;
};

TEST_F(CardScreenTest, TypedTimesAreCommittedByTheRules) {
  // keys; the field written: day, slot (0: the day's reason); what it holds then (empty: nothing
  // is written); beeps; whether [ESC] left
  const std::tuple<std::string, int, int, std::string, int, bool> cases[] = {
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
  for (const auto& [script, day, slot, text, beeps, left] : cases) {
    SCOPED_TRACE(script);
    SaveCardFile(initial);
    t.terminal.ResetBeeps();
    EXPECT_EQ(Run(script), left);
    std::string expected = initial;
    if (!text.empty()) expected.replace(Record(3), 24, t.program.store.associates.names[3]);
    if (!text.empty() && slot == 0) expected.replace(ReasonAt(3, day), 12, TextField(text, 12));
    if (!text.empty() && slot != 0) {
      expected.replace(CorrectionAt(3, day, slot), 5, text);
      expected[CorrectorAt(3, day, slot)] = text == "     " ? 0 : 7;
    }
    EXPECT_TRUE(CardBytes() == expected);
    EXPECT_EQ(t.terminal.Beeps(), beeps);
    EXPECT_TRUE(NoLockFile());
  }
}

TEST_F(CardScreenTest, CorrectionScreenInColourAndMonochrome) {
  for (const bool colour : {true, false}) {
    t.console().displayMode = colour ? kColourDisplay : kMonochrome;
    Run(">1730<1");
    EXPECT_EQ(t.terminal.Text(1, 1, 60),
              "TIME CARD DATE  20121215\xDB 00001234 BOB BAKER               \xDB");
    EXPECT_EQ(t.terminal.Text(4, 16, 13) + t.terminal.Text(5, 23, 5), "10:00 \xB3 17:30   7 ");
    EXPECT_EQ(t.terminal.Attribute(4, 16), colour ? 0x5F : 0x70);  // the field being typed
    EXPECT_EQ(t.terminal.Attribute(4, 24), colour ? 0x1F : 0x07);
    EXPECT_EQ(t.terminal.LastFrame().cursor.column, 17);  // after the first digit
    Run("+");
    EXPECT_EQ(t.terminal.Text(25, 1, 20), "SUN 0925 \xB3MON 0000 \xB3");
  }
}

// Two programs on one store folder: a register punches the card while the correction screen
// has it open. The correction goes into the card as it then stands: the punch stays and shows.
TEST_F(CardScreenTest, APunchMadeWhileTheScreenIsOpenSurvivesTheCorrection) {
  t.terminal.TypeText("08");
  t.terminal.Tick();
  t.terminal.onIdle = [this](int) {
    const pid_t pid = fork();
    if (pid == 0) {
      TimeCard card;
      std::string name, id;
      StoreContext& store = t.program.store;
      const bool punched = ReadTimeCard(store, card, name, 3, "20121215", id) &&
                           PunchTimeCard(store, card, name, 3, "20121215", id, 0, 3, "12:01");
      _exit(punched ? 0 : 1);
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
TEST_F(CardScreenTest, AFileGoneWhileOpenIsReportedAndTheScreenCanBeLeft) {
  t.terminal.Type("0");
  t.terminal.Tick();
  t.terminal.onIdle = [this](int) { fs::remove(CardFile()); };
  EXPECT_TRUE(Run("9>y\tx\ry<\x1b"));
  EXPECT_EQ(t.terminal.Beeps(), 2);  // the two run-time error reports
  EXPECT_FALSE(fs::exists(CardFile()));
  EXPECT_TRUE(NoLockFile());
  EXPECT_EQ(t.program.card.Text(kCorrectionRow, 0, 1) + t.program.card.reasons[1], std::string(17, ' '));
}

// The viewer on last week's file, whose card 3 holds Monday's punches.
TEST_F(CardScreenTest, ViewerPagesAndShowsTheChosenWeekReadAfreshAtEveryStep) {
  t.program.frame.cardNameInUse = "20121208";
  t.program.frame.dateText = "12-08-2012";
  SaveCardFile(NewCardFile().replace(PunchAt(3, 1, 1), 10, "08:0012:30"), "20121208");
  // The last three: the name choice cancelled (the card shown before), chosen by name, and the
  // export dialog cancelled twice.
  const std::pair<std::string, int> cases[] = {
      {"[^", 1}, {"]_^", 2}, {"}]_", 56}, {"}^{", 1}, {"]!\x1b", 2}, {"]!__\r", 3}, {"]\t\03394\r", 2},
  };
  for (const auto& [script, card] : cases) {
    EXPECT_FALSE(Run(script, true));
    EXPECT_EQ(t.terminal.Text(1, 62, 16), TextField("TIME CARD #" + NumberText(card) + "  ", 16)) << script;
  }
  EXPECT_TRUE(Run("\x1b", true));

  Run("]]", true);
  EXPECT_EQ(t.terminal.Text(1, 1, 60), "TIME CARD DATE  20121208\xDB 00001234 BOB BAKER               \xDB");
  EXPECT_EQ(t.terminal.Text(4, 2, 10) + t.terminal.Text(6, 16, 5), "12-02-201208:00");  // that week's Monday
  EXPECT_EQ(t.terminal.Attribute(1, 1), 0x1F);
  // Another station punches while card 3 is shown: once [+] and the key closing the totals are
  // through, the card is drawn again as the file now holds it.
  Type("]]");
  t.terminal.Tick();
  t.terminal.onIdle = [this](int) {
    SaveCardFile(CardBytes("20121208").replace(PunchAt(3, 1, 3), 10, "13:0014:00"), "20121208");
    t.terminal.onIdle = nullptr;
  };
  Run("+x", true);
  EXPECT_EQ(t.terminal.Text(6, 32, 5) + t.terminal.Text(25, 1, 7), "13:00[PG UP]");
  Run("]]+", true);
  EXPECT_EQ(t.terminal.Text(25, 11, 10), "MON 0530 \xB3");

  // A file cut in the middle of card 3: what is there shows, the rest reads blank.
  SaveCardFile(CardBytes("20121208").substr(0, Record(3) + 100), "20121208");
  t.console().displayMode = kMonochrome;
  Run("]]", true);
  EXPECT_EQ(t.terminal.Text(6, 16, 5) + t.terminal.Text(5, 2, 12), "08:00" + std::string(12, ' '));
  Run("}", true);
  EXPECT_EQ(t.terminal.Text(1, 25, 4) + t.terminal.Text(1, 62, 16),
            "\xDB  \xDBTIME CARD # 56  ");  // no ID#, no name
  EXPECT_EQ(t.terminal.Attribute(1, 1), 0x07);
  EXPECT_EQ(CardBytes("20121208").size(), Record(3) + 100);  // viewing never writes
}

}  // namespace
}  // namespace shiftlog
