// The supervisor's screens: the menu and its tools, the associate grid (editor and card choice),
// the punch correction and the time card viewer.
#include "supervisor/supervisor_tools.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "console/wait_key.h"
#include "punch/card_fixture.h"
#include "store/time_card_file.h"
#include "supervisor/associate_editor.h"
#include "supervisor/choose_time_card.h"
#include "supervisor/punch_correction.h"
#include "supervisor/store_time_settings.h"
#include "supervisor/supervisor_menu.h"
#include "supervisor/time_card_viewer.h"
#include "text/text_fields.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;
using testing::TestProgram;

// The screens on a shared data path, this week's card file in use.
struct SupervisorTest : testing::CardFixture {
  SupervisorTest() {
    ShareDataPath();
    t.program.frame.cardNameInUse = "20121215";
  }
  fs::path RegisterFile() const { return dataFolder / "STORE.TIL"; }
  // Bytes of the register data file from its settings record (record 456) on.
  std::string Register(size_t offset, size_t length) const {
    return TestProgram::ReadFileBytes(RegisterFile()).substr(455 * 80 + offset, length);
  }
  // Keys as a script: ^ _ < > [ ] { } ! % are [UP] [DOWN] [LEFT] [RIGHT] [PAGE UP] [PAGE DOWN]
  // [HOME] [END] [F1] [F5], every other character its key.
  void Type(const std::string& script) {
    const int keys[] = {kKeyUp,       kKeyDown, kKeyLeft, kKeyRight, kKeyPageUp,
                        kKeyPageDown, kKeyHome, kKeyEnd,  kKeyF1,    kKeyF5};
    for (const char c : script) {
      const size_t at = std::string("^_<>[]{}!%").find(c);
      t.terminal.Type(at == std::string::npos ? KeyText(1, c) : ExtendedKey(keys[at]));
    }
  }
  // Runs screen after the script: true when it returned, false when it still waited for a key.
  bool Run(const std::string& script, const std::function<void(Program&)>& screen) {
    Type(script);
    try {
      screen(t.program);
      return true;
    } catch (const ScriptExhausted&) {
      return false;
    }
  }
};

// This week's card file and the register data file, both holding the store ID in force.
struct SupervisorToolsTest : SupervisorTest {
  SupervisorToolsTest() { Reset("000000004711"); }
  void Reset(const std::string& storeId) {
    auto& a = t.program.store.associates;
    a.storeId = storeId;
    a.timeDisplay = a.weekEnd = 0;
    SaveCardFile(NewCardFile().replace(1, 12, storeId));
    TestProgram::WriteFileBytes(RegisterFile(),
                                std::string(463 * 80, '\0').replace(455 * 80 + 57, 12, storeId));
  }
  // Bytes 0 to 13 of the card header, and 56 to 70 of the settings record.
  std::string Header() const { return CardBytes().substr(0, 14); }
  std::string Settings() const { return Register(56, 15); }
  bool RunSettings(const std::string& script) { return Run(script, StoreTimeSettings); }
};

// In colour the menu is docs/pictures/supervisor_menu.svg, which the picture check compares.
TEST_F(SupervisorToolsTest, MenuKeysChooseAnItemAndEscapeQuitsInMonochrome) {
  t.console().displayMode = kMonochrome;
  // In the last, [TAB], the digit 9 and [F1] only wait again.
  const std::pair<std::string, int> cases[] = {{"\r", 1}, {"\x1b", 7}, {"6\x1b", 7}, {"2\t9!\r", 2}};
  for (const auto& [script, choice] : cases) {
    Type(script);
    EXPECT_EQ(SupervisorMenu(t.program), choice) << script;
    EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  }
  EXPECT_EQ(t.terminal.Attribute(21, 12) * 0x100 + t.terminal.Attribute(1, 40), 0x0F07);
  EXPECT_EQ(t.terminal.Text(10, 58, 1) + t.terminal.Text(22, 77, 1), "  ");  // no shadows
}

TEST_F(SupervisorToolsTest, EveryChoiceComesBackToTheMenu) {
  SaveCardFile(NewCardFile(), "20121208");
  t.program.frame.cardNameInUse = "20121208";
  t.program.frame.dateText = "12-08-2012";
  Type("4\r\x1b");     // no card file to transmit
  Type("3\r\x1b");     // the associate editor
  Type("6\r\x1b");     // the settings
  Type("5\r\x1b");     // the deletion left: the week in use comes back
  Type("1\r\x1b");     // no card file: no associate asked for
  Type("1\r^\r\x1b");  // a week, but no associate: the week stays unused
  Type("\x1b");
  RunSupervisorTools(t.program);
  EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  EXPECT_EQ(t.program.frame.cardNameInUse, "20121208");

  Type("\r__\r");  // this week, then slot 3
  EXPECT_EQ(ChooseCardToCorrect(t.program), 3);
  EXPECT_EQ(t.program.frame.cardNameInUse, "20121215");
  Type("1\r\r__\r07\x1b");  // this week's card of slot 3 corrected
  Type("2\r^\r\x1b\x1b");   // viewed last week: it stays in use
  RunSupervisorTools(t.program);
  EXPECT_EQ(t.program.frame.cardNameInUse + t.program.frame.dateText, "2012120812-08-2012");
  EXPECT_EQ(CardBytes().substr(CorrectionAt(3, 0, 1), 5), "07:00");
  EXPECT_EQ(t.terminal.Beeps(), 0);
}

TEST_F(SupervisorToolsTest, SettingsEscapeSavesTheHeaderAndTheSettingsRecord) {
  // store ID on entry, keys, store ID saved, time display saved
  const std::string blank(12, ' ');
  const std::tuple<std::string, std::string, std::string, char> cases[] = {
      {"000000004711", "\x1b", "000000004711", 0},  // unchanged, and still written
      {blank, "abc\x1b", "000000000ABC", 0},         {blank, "\x1b", "000000000000", 0},
      {blank, " 7\x1b", "000000000007", 0},          {"1234567890AB", "\t\t\x1b", "1234567890AB", 0},
      {"STORE 42    ", "\t\x1b", "0000STORE 42", 1},
  };
  for (const auto& [storeId, script, saved, timeDisplay] : cases) {
    Reset(storeId);
    ASSERT_TRUE(RunSettings(script)) << script;
    EXPECT_EQ(Header(), timeDisplay + saved + '\0') << script;
    EXPECT_EQ(Settings(), timeDisplay + saved + '\0' + '\0') << script;
  }
  EXPECT_EQ(t.terminal.Beeps(), 0);
}

TEST_F(SupervisorToolsTest, SettingsWeekEndChangeAsksToGoBackToTheRegister) {
  EXPECT_FALSE(RunSettings("!\x1b"));
  EXPECT_EQ(t.terminal.Text(22, 35, 13) + t.terminal.Text(23, 35, 11), " 1. Continue  2. Cancel ");
  EXPECT_EQ(Settings()[14] * 10 + Header()[13], 10);  // saved; the card file keeps its week end
  // "2. Cancel": the screen again with Sunday; back to Saturday, the week end on entry, no notice.
  Reset("000000004711");
  Type("!\x1b");
  EXPECT_FALSE(RunSettings("2\r"));
  EXPECT_EQ(t.terminal.Text(12, 36, 8), " SUNDAY ");
  Reset("000000004711");
  EXPECT_TRUE(RunSettings("!\x1b\t\x1b!\x1b"));  // [TAB] leaves the notice up, [ESC] cancels
  EXPECT_EQ(Settings()[14] * 10 + Header()[13], 0);
  // "1. Continue" hands over to the cash-register program; when it cannot start, the notice stays.
  t.host.registerCanStart = false;
  EXPECT_TRUE(RunSettings("!\x1b\ry2\r!\x1b"));
  EXPECT_EQ(t.host.registerStarts, 1);
  t.host.registerCanStart = true;
  EXPECT_THROW(RunSettings("!\x1b\r"), testing::CashRegisterStarted);
  EXPECT_EQ(TestProgram::ReadFileBytes(t.host.store / "TILCONFG.DAT"), "\"STORE\"\r\n");
  EXPECT_EQ(Settings()[14] * 10 + Header()[13], 10);
}

TEST_F(SupervisorToolsTest, SettingsScreenInColourAndMonochrome) {
  for (const bool colour : {true, false}) {
    t.console().displayMode = colour ? kColourDisplay : kMonochrome;
    Reset("000000004711");
    EXPECT_FALSE(RunSettings("\t!x"));
    EXPECT_EQ(t.terminal.Text(5, 34, 12) + t.terminal.Text(8, 33, 13) + t.terminal.Text(12, 36, 8),
              "X00000004711DECIMAL TIME  SUNDAY ");
    EXPECT_EQ(t.terminal.Attribute(8, 33) * 0x100 + t.terminal.Attribute(4, 33), colour ? 0x3F1F : 0x700F);
    EXPECT_EQ(t.terminal.Attribute(20, 8), colour ? 0x4F : 0x0F);
    EXPECT_EQ(t.terminal.Character(10, 56), colour ? 219 : ' ');  // shadows on colour displays only
  }
}

// All slots named but slot 5; this week's cards hold older names and a punch of slot 3.
struct AssociateGridTest : SupervisorTest {
  AssociateGridTest() {
    auto& a = t.program.store.associates;
    for (size_t slot = 1; slot <= kSlotCount; ++slot) {
      a.names[slot] = TextField("NAME " + std::to_string(slot), 24);
      a.ids[slot] = TextField("ID" + std::to_string(slot), 8);
    }
    a.pins[1] = 1111;
    a.supervisor[4] = 1;  // a supervisor without a PIN
    a.names[5] = std::string(24, ' ');
    roster = a;
    card = NewCardFile();
    for (int slot = 1; slot <= kSlotCount; ++slot) card.replace(Record(slot), 32, TextField("OLD", 32));
    card.replace(PunchAt(3, 0, 1), 5, "08:00");
    SaveCardFile(card);
    TestProgram::WriteFileBytes(RegisterFile(), std::string(463 * 80, '\0'));
  }
  // Runs the editor from the roster until the script ends.
  void Edit(const std::string& script) {
    t.program.store.associates = roster;
    Run(script, AssociateEditor);
  }
  AssociateList roster;
  std::string card;
};

TEST_F(AssociateGridTest, TheFieldWalksTheSlotsInOrderOverBothPages) {
  // The field is found by typing Q into it; slot -1 is the ID# of slot 1.
  const std::string d14(14, '_');
  const std::pair<std::string, int> cases[] = {
      {"", 1},     {"^", 56},  {"^^", 55}, {d14, 15},  {d14 + d14, 29}, {d14 + d14 + d14 + d14, 1},
      {"\r\r", 3}, {"_]", 30}, {"[[", 1},  {"!_!", 2}, {"!", -1},
  };
  for (const auto& [script, slot] : cases) {
    Edit(script + "q\x1b");
    const auto& a = t.program.store.associates;
    for (size_t n = 1; n <= kSlotCount; ++n) {
      EXPECT_EQ(a.names[n][0] == 'Q', static_cast<int>(n) == slot) << script << ", slot " << n;
      EXPECT_EQ(a.ids[n][0] == 'Q', slot == -1 && n == 1) << script << ", slot " << n;
    }
  }
}

TEST_F(AssociateGridTest, MarksRuleNamesAndIdsAreSavedOnEscape) {
  // Slot 1 marked; slot 2 refused (no PIN); slot 4 unmarked; the rule switched on; slot 5's
  // name typed with leading blanks and its ID# changed.
  Edit("\t_\tx__\t%%%_  al! 9\x1b");
  EXPECT_EQ(t.terminal.Beeps(), 1);
  const auto& a = t.program.store.associates;
  EXPECT_EQ(a.names[5] + a.ids[5], TextField("AL", 24) + "95      ");
  EXPECT_EQ(a.noSupervisor, 0);
  EXPECT_EQ(Register(0, 8) + Register(69, 1), std::string("\1\0\0\0\0\0\1\0\1", 9));
  EXPECT_EQ(Register(80 + 32, 16), "95      ID6     ");
  for (int row = 1; row <= 7; ++row) EXPECT_EQ(t.terminal.Text(row, 1, 5), NumberText(456 + row) + " ");
  // Every card now has the list's name and ID#; nothing else of the file changed.
  std::string expected = card;
  for (size_t slot = 1; slot <= kSlotCount; ++slot)
    expected.replace(Record(slot), 32, a.names[slot] + a.ids[slot]);
  EXPECT_TRUE(CardBytes() == expected);
  // Nobody marked any more: everybody may open the supervisor menu again.
  roster.supervisor[4] = 0;
  Edit("______\t\x1b");
  EXPECT_EQ(a.noSupervisor, 1);
}

TEST_F(AssociateGridTest, EditorScreenInColourAndMonochrome) {
  for (const bool colour : {true, false}) {
    t.console().displayMode = colour ? kColourDisplay : kMonochrome;
    Edit("%_\t");  // waits under the notice
    EXPECT_EQ(t.terminal.Text(7, 7, 24) + t.terminal.Text(8, 1, 12),
              "     No PIN number      \xB3 3\xB3 \xB3NAME 3");
    EXPECT_EQ(t.terminal.Text(24, 7, 5), "  ON ");
    EXPECT_EQ(t.terminal.Attribute(24, 7), colour ? 0x4F : 0x70);
    EXPECT_EQ(t.terminal.Attribute(7, 7), colour ? 0x1F : 0x07);
    Edit("_\txz");  // after the notice the name comes back and the field goes on
    EXPECT_EQ(t.terminal.Text(7, 7, 24), TextField("ZAME 2", 24));
    EXPECT_EQ(t.terminal.Attribute(7, 7) * 0x100 + t.terminal.Attribute(7, 5), colour ? 0x3F1F : 0x7007);
  }
}

// The register data file gone: the report says so, and the card file still gets the names.
TEST_F(AssociateGridTest, ARegisterFileGoneIsReportedAndTheCardFileStillWritten) {
  fs::remove(RegisterFile());
  Edit("!7\x1by");
  EXPECT_EQ(t.terminal.Beeps(), 1);
  EXPECT_FALSE(fs::exists(RegisterFile()));
  EXPECT_EQ(CardBytes().substr(Record(1), 32), TextField("NAME 1", 24) + "7D1     ");
}

// The card choice walks the grid with the editor's cursor; here only its own keys, and the grid.
TEST_F(AssociateGridTest, TheCardChoiceBarTakesItsKeysAndSkipsTheVacantSlot) {
  auto& a = t.program.store.associates;
  a.names[1] = TextField("   PAT", 24);
  a.supervisor[2] = 1;
  // [PAGE DOWN] turns the page with row and column kept; [LEFT] [HOME] [F1] x [TAB] leave the bar
  // where it is; [ENTER] on the vacant slot 5 beeps.
  const std::pair<std::string, int> cases[] = {
      {"", 1}, {"^", 56}, {"^]", 28}, {"[]]", 29}, {"____\r_", 6}, {"_<{!x\t", 2},
  };
  for (const auto& [script, slot] : cases) {
    Type(script + "\r");
    EXPECT_EQ(ChooseTimeCard(t.program), slot) << script;
    EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  }
  EXPECT_EQ(t.terminal.Beeps(), 1);
  EXPECT_EQ(a.names[1], TextField("PAT", 24));  // stored back without leading blanks
  // The grid as the last choice left it: the bar on slot 2, which is marked.
  const std::string line24(24, '\xC4'), line8(8, '\xC4');
  EXPECT_EQ(t.terminal.RowText(5), "\xDA\xC4\xC4\xC2\xC4\xC2" + line24 + "\xC2" + line8 +
                                       "\xC2\xC2\xC4\xC4\xC2\xC4\xC2" + line24 + "\xC2" + line8 + "\xBF");
  EXPECT_EQ(t.terminal.RowText(7),
            "\xB3 2\xB3*\xB3NAME 2                  \xB3ID2     \xB3\xB3"
            "16\xB3 \xB3NAME 16                 \xB3ID16    \xB3");
  EXPECT_EQ(
      t.terminal.Attribute(7, 7) * 0x10000 + t.terminal.Attribute(7, 31) * 0x100 + t.terminal.Attribute(6, 7),
      0x3F1F1F);
  t.terminal.TypeExtended(kKeyF11);
  EXPECT_EQ(ChooseTimeCard(t.program), 0);
  t.console().displayMode = kMonochrome;
  EXPECT_FALSE(Run("]", ChooseTimeCard));
  EXPECT_EQ(t.terminal.Text(6, 1, 13) + t.terminal.Text(19, 41, 13),
            "\26329\263 \263NAME 29\26356\263 \263NAME 56");  // \263 is \xB3
  EXPECT_EQ(t.terminal.Attribute(6, 7) * 0x100 + t.terminal.Attribute(7, 7), 0x7007);
}

// Slot 7 corrects or views slot 3's card, which holds its own spelling of the name.
struct CardScreenTest : SupervisorTest {
  CardScreenTest() {
    t.program.frame.dateText = "12-15-2012";
    t.program.frame.loggedInSlot = 7;
    initial = NewCardFile();
    initial.replace(Record(3), 24, TextField("B. BAKER", 24));
    initial.replace(PunchAt(3, 0, 1), 10, "08:0516:58");
    initial.replace(CorrectionAt(3, 0, 2), 5, "17:00");
    initial[CorrectorAt(3, 0, 2)] = 5;
    SaveCardFile(initial);
  }
  bool Correct(const std::string& script) {
    return Run(script, [](Program& program) { PunchCorrection(program, 3); });
  }
  bool View(const std::string& script) { return Run(script, TimeCardViewer); }
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
    EXPECT_EQ(Correct(script), left);
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

// In colour the screen is docs/pictures/punch_correction.svg, which the picture check compares.
TEST_F(CardScreenTest, CorrectionScreenShowsTheListsNameTheCorrectorAndTotals) {
  t.console().displayMode = kMonochrome;
  Correct(">1730<1");
  EXPECT_EQ(t.terminal.Text(1, 1, 60), "TIME CARD DATE  20121215\xDB 00001234 BOB BAKER               \xDB");
  EXPECT_EQ(t.terminal.Text(4, 16, 13) + t.terminal.Text(5, 23, 5), "10:00 \xB3 17:30   7 ");
  EXPECT_EQ(t.terminal.Attribute(4, 16) * 0x100 + t.terminal.Attribute(4, 24), 0x7007);  // the field typed
  EXPECT_EQ(t.terminal.LastFrame().cursor.column, 17);  // after the first digit
  Correct("+");
  EXPECT_EQ(t.terminal.Text(25, 1, 20), "SUN 0925 \xB3MON 0000 \xB3");
}

// Two programs on one store: a register's punch made while the correction screen is open stays.
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
  EXPECT_FALSE(Correct("30>"));
  EXPECT_EQ(CardBytes().substr(PunchAt(3, 0, 1), 15) + CardBytes().substr(CorrectionAt(3, 0, 1), 10),
            "08:0516:5812:0108:3017:00");
  EXPECT_EQ(t.terminal.Text(3, 32, 5), "12:01");
  EXPECT_TRUE(NoLockFile());
}

// Deleted at another station: each change is reported and not kept, nothing brings the file back.
TEST_F(CardScreenTest, AFileGoneWhileOpenIsReportedAndTheScreenCanBeLeft) {
  t.terminal.Type("0");
  t.terminal.Tick();
  t.terminal.onIdle = [this](int) { fs::remove(CardFile()); };
  EXPECT_TRUE(Correct("9>y\tx\ry<\x1b"));
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
  // The last three: the name choice cancelled, chosen by name, and the export dialog cancelled.
  const std::pair<std::string, int> cases[] = {
      {"[^", 1}, {"]_^", 2}, {"}]_", 56}, {"}^{", 1}, {"]!\x1b", 2}, {"]!__\r", 3}, {"]\t\03394\r", 2},
  };
  for (const auto& [script, card] : cases) {
    EXPECT_FALSE(View(script));
    EXPECT_EQ(t.terminal.Text(1, 62, 16), TextField("TIME CARD #" + NumberText(card) + "  ", 16)) << script;
  }
  EXPECT_TRUE(View("\x1b"));

  // Another station punches while card 3 is shown: after the totals it is drawn as now stored.
  Type("]]");
  t.terminal.Tick();
  t.terminal.onIdle = [this](int) {
    SaveCardFile(CardBytes("20121208").replace(PunchAt(3, 1, 3), 10, "13:0014:00"), "20121208");
    t.terminal.onIdle = nullptr;
  };
  View("+x");
  EXPECT_EQ(t.terminal.Text(6, 32, 5) + t.terminal.Text(25, 1, 7), "13:00[PG UP]");
  EXPECT_EQ(t.terminal.Attribute(1, 1), 0x1F);
  View("]]+");
  EXPECT_EQ(t.terminal.Text(25, 11, 10), "MON 0530 \xB3");

  // A file cut in the middle of card 3: what is there shows, the rest reads blank.
  SaveCardFile(CardBytes("20121208").substr(0, Record(3) + 100), "20121208");
  t.console().displayMode = kMonochrome;
  View("]]");
  EXPECT_EQ(t.terminal.Text(6, 16, 5) + t.terminal.Text(5, 2, 12), "08:00" + std::string(12, ' '));
  View("}");
  EXPECT_EQ(t.terminal.Text(1, 25, 4) + t.terminal.Text(1, 62, 16),
            "\xDB  \xDBTIME CARD # 56  ");  // no ID#, no name
  EXPECT_EQ(t.terminal.Attribute(1, 1), 0x07);
  EXPECT_EQ(CardBytes("20121208").size(), Record(3) + 100);  // viewing never writes
}

}  // namespace
}  // namespace shiftlog
