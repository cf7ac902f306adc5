#include "supervisor/associate_editor.h"

#include <gtest/gtest.h>

#include <string>

#include "console/wait_key.h"
#include "punch/card_fixture.h"
#include "supervisor/choose_time_card.h"
#include "text/text_fields.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;
using testing::TestProgram;

// The two screens on the associate grid, the editor and the card choice. All 56 slots named but
// slot 5, on a shared data path with a register data file and this week's card file, whose
// cards hold older names and a punch of slot 3.
struct AssociateGridTest : testing::CardFixture {
  AssociateGridTest() {
    ShareDataPath();
    t.program.frame.cardNameInUse = "20121215";
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
  fs::path RegisterFile() const { return dataFolder / "STORE.TIL"; }
  std::string RegisterRecord(int record) const {
    return TestProgram::ReadFileBytes(RegisterFile()).substr(static_cast<size_t>(record - 1) * 80, 80);
  }
  // Keys as a script: ^ _ < { [ ] ! % are [UP] [DOWN] [LEFT] [HOME] [PAGE UP] [PAGE DOWN] [F1]
  // [F5]; every other character its key.
  void Type(const std::string& script) {
    for (const char c : script) {
      const size_t at = std::string("^_<{[]!%").find(c);
      const int keys[] = {kKeyUp, kKeyDown, kKeyLeft, kKeyHome, kKeyPageUp, kKeyPageDown, kKeyF1, kKeyF5};
      t.terminal.Type(at == std::string::npos ? KeyText(1, c) : ExtendedKey(keys[at]));
    }
  }
  // Runs the editor from the roster until the script ends.
  void Run(const std::string& script) {
    t.program.store.associates = roster;
    Type(script);
    try {
      AssociateEditor(t.program);
    } catch (const ScriptExhausted&) {
    }
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
    Run(script + "q\x1b");
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
  Run("\t_\tx__\t%%%_  al! 9\x1b");
  EXPECT_EQ(t.terminal.Beeps(), 1);
  const auto& a = t.program.store.associates;
  EXPECT_EQ(a.names[5] + a.ids[5], TextField("AL", 24) + "95      ");
  EXPECT_EQ(a.noSupervisor, 0);
  EXPECT_EQ(RegisterRecord(456).substr(0, 8) + RegisterRecord(456)[69], std::string("\1\0\0\0\0\0\1\0\1", 9));
  EXPECT_EQ(RegisterRecord(457).substr(32, 16), "95      ID6     ");
  for (int row = 1; row <= 7; ++row) EXPECT_EQ(t.terminal.Text(row, 1, 5), NumberText(456 + row) + " ");
  // Every card now has the list's name and ID#; nothing else of the file changed.
  std::string expected = card;
  for (size_t slot = 1; slot <= kSlotCount; ++slot)
    expected.replace(Record(slot), 32, a.names[slot] + a.ids[slot]);
  EXPECT_TRUE(CardBytes() == expected);
  // Nobody marked any more: everybody may open the supervisor menu again.
  roster.supervisor[4] = 0;
  Run("______\t\x1b");
  EXPECT_EQ(a.noSupervisor, 1);
}

TEST_F(AssociateGridTest, EditorScreenInColourAndMonochrome) {
  for (const bool colour : {true, false}) {
    t.console().displayMode = colour ? kColourDisplay : kMonochrome;
    Run("%_\t");  // waits under the notice
    EXPECT_EQ(t.terminal.Text(2, 20, 41), "Assign associates as payroll supervisors.");
    EXPECT_EQ(t.terminal.Text(7, 7, 24) + t.terminal.Text(8, 1, 12),
              "     No PIN number      \xB3 3\xB3 \xB3NAME 3");
    EXPECT_EQ(t.terminal.Text(23, 5, 15), "[*] Supervisor.");
    EXPECT_EQ(t.terminal.Text(24, 7, 5) + t.terminal.Text(24, 12, 63),
              "  ON [F5] = Require supervisor to access program.   [ESC] = Finished");
    EXPECT_EQ(t.terminal.Attribute(24, 7), colour ? 0x4F : 0x70);
    EXPECT_EQ(t.terminal.Attribute(7, 7), colour ? 0x1F : 0x07);
    Run("_\txz");  // after the notice the name comes back and the field goes on
    EXPECT_EQ(t.terminal.Text(7, 7, 24), TextField("ZAME 2", 24));
    EXPECT_EQ(t.terminal.Attribute(7, 7), colour ? 0x3F : 0x70);
    EXPECT_EQ(t.terminal.Attribute(7, 5), colour ? 0x1F : 0x07);
  }
}

// The register data file gone: the report says so, and the card file still gets the names.
TEST_F(AssociateGridTest, ARegisterFileGoneIsReportedAndTheCardFileStillWritten) {
  fs::remove(RegisterFile());
  Run("!7\x1by");
  EXPECT_EQ(t.terminal.Beeps(), 1);
  EXPECT_FALSE(fs::exists(RegisterFile()));
  EXPECT_EQ(CardBytes().substr(Record(1), 32), TextField("NAME 1", 24) + "7D1     ");
}

// The card choice walks the grid with the editor's cursor; here only its own keys.
TEST_F(AssociateGridTest, TheCardChoiceBarTakesItsKeysAndSkipsTheVacantSlot) {
  auto& a = t.program.store.associates;
  a.names[1] = TextField("   PAT", 24);
  // [PAGE DOWN] turns the page with row and column kept; [LEFT] [HOME] [F1] x [TAB] leave the bar
  // where it is; [ENTER] on the vacant slot 5 beeps.
  const std::pair<std::string, int> cases[] = {
      {"", 1}, {"^", 56}, {"^]", 28}, {"[]]", 29}, {"_<{!x\t", 2}, {"____\r_", 6},
  };
  for (const auto& [script, slot] : cases) {
    Type(script + "\r");
    EXPECT_EQ(ChooseTimeCard(t.program), slot) << script;
    EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  }
  EXPECT_EQ(t.terminal.Beeps(), 1);
  EXPECT_EQ(a.names[1], TextField("PAT", 24));  // stored back without leading blanks
  t.terminal.TypeExtended(kKeyF11);
  EXPECT_EQ(ChooseTimeCard(t.program), 0);
}

TEST_F(AssociateGridTest, TheCardChoiceGridAndBarInColourAndMonochrome) {
  t.program.store.associates.supervisor[2] = 1;
  Type("_");
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
  EXPECT_EQ(
      t.terminal.Attribute(7, 7) * 0x10000 + t.terminal.Attribute(7, 31) * 0x100 + t.terminal.Attribute(6, 7),
      0x3F1F1F);  // the bar on slot 2
  t.console().displayMode = kMonochrome;
  Type("]");
  EXPECT_THROW(ChooseTimeCard(t.program), ScriptExhausted);
  EXPECT_EQ(t.terminal.Text(6, 1, 13) + t.terminal.Text(19, 41, 13),
            "\26329\263 \263NAME 29\26356\263 \263NAME 56");  // \263 is \xB3
  EXPECT_EQ(t.terminal.Attribute(6, 7) * 0x100 + t.terminal.Attribute(7, 7), 0x7007);
}

}  // namespace
}  // namespace shiftlog
