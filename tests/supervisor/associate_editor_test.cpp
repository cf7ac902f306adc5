#include "supervisor/associate_editor.h"

#include <gtest/gtest.h>

#include <string>

#include "console/wait_key.h"
#include "punch/card_fixture.h"
#include "text/text_fields.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;
using testing::TestProgram;

// All 56 slots named, on a shared data path with a register data file and this week's card
// file, whose cards hold older names and a punch of slot 3.
struct AssociateEditorTest : testing::CardFixture {
  AssociateEditorTest() {
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
  // Keys as a script: ^ _ are [UP] and [DOWN], [ ] [PAGE UP] and [PAGE DOWN], ! [F1], % [F5];
  // every other character its key. Runs the editor from the roster until the script ends.
  void Run(const std::string& script) {
    t.program.store.associates = roster;
    for (const char c : script) {
      const size_t special = std::string("^_[]!%").find(c);
      const int keys[] = {kKeyUp, kKeyDown, kKeyPageUp, kKeyPageDown, kKeyF1, kKeyF5};
      t.terminal.Type(special == std::string::npos ? KeyText(1, c) : ExtendedKey(keys[special]));
    }
    try {
      AssociateEditor(t.program);
    } catch (const ScriptExhausted&) {
    }
  }
  AssociateList roster;
  std::string card;
};

TEST_F(AssociateEditorTest, TheFieldWalksTheSlotsInOrderOverBothPages) {
  // The field is found by typing Q into it.
  const std::pair<std::string, int> cases[] = {
      {"", 1},
      {"^", 56},
      {"^^", 55},
      {std::string(14, '_'), 15},
      {std::string(28, '_'), 29},
      {std::string(56, '_'), 1},
      {"\r\r", 3},
      {"_]", 30},
      {"[[", 1},
      {"!", -1} /* the ID# of slot 1 */,
      {"!_!", 2},
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

TEST_F(AssociateEditorTest, MarksRuleNamesAndIdsAreSavedOnEscape) {
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

TEST_F(AssociateEditorTest, ScreenInColourAndMonochrome) {
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
TEST_F(AssociateEditorTest, ARegisterFileGoneIsReportedAndTheCardFileStillWritten) {
  fs::remove(RegisterFile());
  Run("!7\x1by");
  EXPECT_EQ(t.terminal.Beeps(), 1);
  EXPECT_FALSE(fs::exists(RegisterFile()));
  EXPECT_EQ(CardBytes().substr(Record(1), 32), TextField("NAME 1", 24) + "7D1     ");
}

}  // namespace
}  // namespace shiftlog
