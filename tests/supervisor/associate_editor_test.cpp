#include "supervisor/associate_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/wait_key.h"
#include "punch/card_fixture.h"
#include "text/text_fields.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;

const KeyText kUp = ExtendedKey(kKeyUp), kDown = ExtendedKey(kKeyDown), kPageUp = ExtendedKey(kKeyPageUp),
              kPageDown = ExtendedKey(kKeyPageDown), kF1 = ExtendedKey(kKeyF1), kF5 = ExtendedKey(kKeyF5);

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
    testing::TestProgram::WriteFileBytes(RegisterFile(), std::string(463 * 80, '\0'));
  }
  fs::path RegisterFile() const { return dataFolder / "STORE.TIL"; }
  std::string RegisterRecord(int record) const {
    return testing::TestProgram::ReadFileBytes(RegisterFile()).substr(static_cast<size_t>(record - 1) * 80, 80);
  }
  void Run(const std::vector<KeyText>& keys) {
    for (const KeyText& key : keys) t.terminal.Type(key);
    AssociateEditor(t.program);
    EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  }
  AssociateList roster;
  std::string card;
};

TEST_F(AssociateEditorTest, TheFieldWalksTheSlotsInOrderOverBothPages) {
  // The field is found by typing Q into it.
  const std::vector<KeyText> down14(14, kDown), down28(28, kDown), down56(56, kDown);
  const std::pair<std::vector<KeyText>, int> cases[] = {
      {{}, 1},
      {{kUp}, 56},
      {{kUp, kUp}, 55},
      {down14, 15},  // on to the right column of the same page
      {down28, 29},  // from slot 28 on to the second page
      {down56, 1},
      {{"\r", "\r"}, 3},
      {{kDown, kPageDown}, 30},  // the page turns, row and column stay
      {{kPageUp, kPageUp}, 1},
      {{kF1}, -1},  // the ID# of slot 1
      {{kF1, kDown, kF1}, 2},
      {{ExtendedKey(kKeyF9), "\x1b"}, 0},  // other keys change nothing; [ESC] leaves
  };
  for (const auto& [keys, slot] : cases) {
    t.program.store.associates = roster;
    std::vector<KeyText> all = keys;
    if (slot != 0) all.insert(all.end(), {"q", "\x1b"});
    Run(all);
    const auto& a = t.program.store.associates;
    for (size_t n = 1; n <= kSlotCount; ++n) {
      const bool nameTyped = static_cast<int>(n) == slot, idTyped = slot == -1 && n == 1;
      EXPECT_EQ(a.names[n][0] == 'Q', nameTyped) << keys.size() << " keys, slot " << n;
      EXPECT_EQ(a.ids[n][0] == 'Q', idTyped) << keys.size() << " keys, slot " << n;
    }
  }
}

TEST_F(AssociateEditorTest, MarksRuleNamesAndIdsAreSavedOnEscape) {
  Run({"\t", kDown, "\t", "x", kDown, kDown, "\t", kF5, kF5, kF5, kDown, " ", " ", "a", "l", kF1, " ", "9",
       "\x1b"});
  EXPECT_EQ(t.terminal.Beeps(), 1);  // slot 2 has no PIN
  const auto& a = t.program.store.associates;
  EXPECT_EQ(a.names[5], TextField("AL", 24));  // leading blanks removed
  EXPECT_EQ(a.ids[5], "95      ");
  EXPECT_EQ(a.noSupervisor, 0);

  const std::string settings = RegisterRecord(456);
  EXPECT_EQ(settings.substr(0, 8), std::string("\1\0\0\0\0\0\1\0", 8));  // slots 1 and 7
  EXPECT_EQ(settings[69], 1);                                            // F5 three times
  EXPECT_EQ(RegisterRecord(457).substr(32, 16), "95      ID6     ");
  for (int row = 1; row <= 7; ++row) EXPECT_EQ(t.terminal.Text(row, 1, 5), NumberText(456 + row) + " ");

  // Every card has the list's name and ID#; nothing else of the file changed.
  std::string expected = card;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    expected.replace(Record(slot), 32, a.names[static_cast<size_t>(slot)] + a.ids[static_cast<size_t>(slot)]);
  }
  EXPECT_EQ(CardBytes(), expected);

  // Nobody marked any more: everybody may open the supervisor menu again.
  Run({"\t", kDown, kDown, kDown, kDown, kDown, kDown, "\t", "\x1b"});
  EXPECT_EQ(a.supervisor[1] + a.supervisor[7], 0);
  EXPECT_EQ(a.noSupervisor, 1);
  EXPECT_EQ(RegisterRecord(456)[0], 0);
}

TEST_F(AssociateEditorTest, ScreenInColourAndMonochrome) {
  for (const bool colour : {true, false}) {
    t.console().displayMode = colour ? kColourDisplay : kMonochrome;
    t.program.store.associates = roster;
    for (const KeyText& key : {kF5, kDown, KeyText("\t")}) t.terminal.Type(key);
    EXPECT_THROW(AssociateEditor(t.program), ScriptExhausted);  // waits under the notice
    EXPECT_EQ(t.terminal.Text(2, 20, 41), "Assign associates as payroll supervisors.");
    EXPECT_EQ(t.terminal.Text(7, 7, 24), "     No PIN number      ");
    EXPECT_EQ(t.terminal.Attribute(7, 7), colour ? 0x1F : 0x07);
    EXPECT_EQ(t.terminal.Text(8, 1, 12), "\xB3 3\xB3 \xB3NAME 3");
    EXPECT_EQ(t.terminal.Text(22, 25, 35), "[PAGE UP] [PAGE DOWN] = Other page.");
    EXPECT_EQ(t.terminal.Text(23, 5, 71),
              "[*] Supervisor.      [TAB] = Toggle supervisor.      [F1] = Name / ID#.");
    EXPECT_EQ(t.terminal.Text(24, 7, 5) + t.terminal.Text(24, 12, 63),
              "  ON [F5] = Require supervisor to access program.   [ESC] = Finished");
    EXPECT_EQ(t.terminal.Attribute(24, 7), colour ? 0x4F : 0x70);
    EXPECT_EQ(t.terminal.Attribute(24, 12), colour ? 0x1F : 0x07);

    // After the notice the name being edited comes back and the field goes on.
    t.program.store.associates = roster;
    for (const KeyText& key : {kDown, KeyText("\t"), KeyText("x"), KeyText("z")}) t.terminal.Type(key);
    EXPECT_THROW(AssociateEditor(t.program), ScriptExhausted);
    EXPECT_EQ(t.terminal.Text(7, 7, 24), TextField("ZAME 2", 24));
    EXPECT_EQ(t.terminal.Attribute(7, 7), colour ? 0x3F : 0x70);
    EXPECT_EQ(t.terminal.Attribute(7, 5), colour ? 0x1F : 0x07);
    EXPECT_EQ(t.terminal.Text(24, 7, 5), " OFF ");
  }
}

TEST_F(AssociateEditorTest, AFileThatCannotBeWrittenIsReportedAndTheOtherStillIs) {
  fs::remove(RegisterFile());
  Run({kF1, "7", "\x1b", "y"});  // the register data file is gone
  EXPECT_EQ(t.terminal.Beeps(), 1);
  EXPECT_FALSE(fs::exists(RegisterFile()));
  EXPECT_EQ(CardBytes().substr(Record(1), 32), TextField("NAME 1", 24) + "7D1     ");

  testing::TestProgram::WriteFileBytes(RegisterFile(), std::string(463 * 80, '\0'));
  fs::remove(CardFile());
  Run({"\x1b", "y"});  // the card file in use is gone
  EXPECT_EQ(t.terminal.Beeps(), 2);
  EXPECT_FALSE(fs::exists(CardFile()));
  EXPECT_EQ(RegisterRecord(457).substr(0, 8), "7D1     ");
}

}  // namespace
}  // namespace shiftlog
