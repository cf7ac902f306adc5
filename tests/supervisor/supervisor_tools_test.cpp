#include "supervisor/supervisor_tools.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "console/wait_key.h"
#include "frame/start_up.h"
#include "punch/card_fixture.h"
#include "store/register_file_builder.h"
#include "supervisor/supervisor_menu.h"

namespace shiftlog {
namespace {

TEST(SupervisorMenu, KeysChooseAnItemAndEscapeQuits) {
  const KeyText up = ExtendedKey(kKeyUp), down = ExtendedKey(kKeyDown);
  const std::pair<std::vector<KeyText>, int> cases[] = {
      {{"\r"}, 1},
      {{"\x1b"}, 7},
      {{ExtendedKey(kKeyF11)}, 7},
      {{down, down, "\r"}, 3},
      {{up, "\r"}, 7},
      {{"6", "\x1b"}, 7},
      {{"2", "\t", "9", ExtendedKey(kKeyF1), "\r"}, 2},  // [TAB], the digit 9 and [F1] only wait again
  };
  for (const auto& [keys, choice] : cases) {
    testing::TestProgram t;
    for (const KeyText& key : keys) t.terminal.Type(key);
    EXPECT_EQ(SupervisorMenu(t.program), choice) << keys.size() << " keys, first " << keys[0];
    EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  }
}

TEST(SupervisorMenu, ScreenInColourAndMonochrome) {
  const std::string items[] = {
      "1. Correct time punch", "2. View time cards",        "3. Associates", "4. Transmit time cards",
      "5. Delete time cards",  "6. Store # / Time display", "7. Quit"};
  const std::string note = "   New employees added after a time card file has been created";
  for (const bool colour : {true, false}) {
    testing::TestProgram t;
    t.console().displayMode = colour ? kColourDisplay : kMonochrome;
    t.terminal.TypeExtended(kKeyDown);
    EXPECT_THROW(SupervisorMenu(t.program), ScriptExhausted);
    EXPECT_EQ(t.terminal.Text(2, 28, 2) + t.terminal.Text(18, 56, 1), "\xC9\xCD\xBC");
    EXPECT_EQ(t.terminal.Text(3, 34, 15), "Supervisor menu");
    for (int i = 0; i < 7; ++i) {
      EXPECT_EQ(t.terminal.Text(5 + 2 * i, 29, static_cast<int>(items[i].size()) + 2), " " + items[i] + " ");
      EXPECT_EQ(t.terminal.Attribute(5 + 2 * i, 30),
                i == 1 ? (colour ? 0x3F : 0x70) : (colour ? 0x1F : 0x07));
    }
    EXPECT_EQ(t.terminal.Text(21, 9, static_cast<int>(note.size())), note);
    EXPECT_EQ(t.terminal.Text(22, 9, 61), "must be manually added to the time card file using option #3.");
    EXPECT_EQ(t.terminal.Attribute(21, 12), colour ? 0x4F : 0x0F);
    EXPECT_EQ(t.terminal.Attribute(1, 40), colour ? 0x7F : 0x07);
    EXPECT_EQ(t.terminal.Character(10, 58), colour ? 219 : ' ');  // shadows on colour displays only
    EXPECT_EQ(t.terminal.Character(22, 77), colour ? 219 : ' ');
  }
}

struct SupervisorToolsTest : testing::CardFixture {
  SupervisorToolsTest() {
    SaveCardFile(NewCardFile(), "20121208");
    SaveCardFile(NewCardFile(), "20121215");
    testing::TestProgram::WriteFileBytes(t.host.store / "STORE.TIL", std::string(463 * 80, '\0'));
    t.program.frame.cardNameInUse = "20121208";
    t.program.frame.dateText = "12-08-2012";
  }
  void Type(const std::vector<KeyText>& keys) {
    for (const KeyText& key : keys) t.terminal.Type(key);
  }
};

TEST_F(SupervisorToolsTest, EveryChoiceComesBackToTheMenu) {
  const KeyText up = ExtendedKey(kKeyUp), down = ExtendedKey(kKeyDown);
  Type({"4", "\r", "\x1b"});                     // no card file to transmit
  Type({"3", "\r", "\x1b", "6", "\r", "\x1b"});  // the associate editor, the settings
  Type({"5", "\r", "\x1b"});                     // the deletion left: the week in use comes back
  Type({"1", "\r", "\x1b"});                     // no card file: no associate asked for
  Type({"1", "\r", up, "\r", "\x1b"});           // a week, but no associate: the week stays unused
  Type({"\x1b"});
  RunSupervisorTools(t.program);
  EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  EXPECT_EQ(t.program.frame.cardNameInUse, "20121208");
  EXPECT_EQ(t.terminal.Text(3, 34, 15), "Supervisor menu");

  Type({"\r", down, down, "\r"});  // this week, then slot 3
  EXPECT_EQ(ChooseCardToCorrect(t.program), 3);
  EXPECT_EQ(t.program.frame.cardNameInUse, "20121215");
  Type({"1", "\r", "\r", down, down, "\r", "0", "7", "\x1b"});  // this week's card of slot 3 corrected
  Type({"2", "\r", up, "\r", "\x1b", "\x1b"});                  // viewed last week: it stays in use
  RunSupervisorTools(t.program);
  EXPECT_EQ(t.program.frame.cardNameInUse + t.program.frame.dateText, "2012120812-08-2012");
  EXPECT_EQ(CardBytes("20121215").substr(CorrectionAt(3, 0, 1), 5), "07:00");
  EXPECT_EQ(t.terminal.Beeps(), 0);
}

// The whole road: a supervisor's PIN, [F8], last week in the viewer, back to the menu, and
// "7. Quit" shows this week's card again.
TEST(SupervisorRoad, QuitAfterViewingAnOlderWeekShowsThisWeeksCard) {
  testing::TestProgram t;
  t.WriteFileBytes(t.host.store / "TILCONFG.DAT", "\"SHOP1\"\r\n");
  RegisterFileBuilder builder;
  builder.SetAssociate(3, "CAROL CHIEF", 1234, "00000007", true);
  ASSERT_TRUE(builder.WriteTo(t.host.store / "SHOP1.TIL"));
  std::filesystem::create_directories(t.host.store / "SHOP1");
  t.WriteFileBytes(t.host.store / "SHOP1" / "20121208.CLK", std::string(57 * 800, ' '));
  t.terminal.TypeText("1234\r");
  for (const KeyText& key : std::vector<KeyText>{ExtendedKey(kKeyF8), "2", "\r", ExtendedKey(kKeyUp), "\r",
                                                 ExtendedKey(kKeyEnd), "\x1b", "7", "\r"}) {
    t.terminal.Type(key);
  }
  EXPECT_THROW(RunTimeClock(t.program), ScriptExhausted);
  EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  EXPECT_EQ(t.terminal.Text(1, 15, 33), "Associate = 00000007 CAROL CHIEF ");
  EXPECT_EQ(t.terminal.Text(1, 63, 15), "[F8]=Supervisor");
  EXPECT_EQ(t.terminal.Text(22, 2, 10), "12-15-2012");
  EXPECT_EQ(t.program.frame.cardNameInUse, "20121215");
}

}  // namespace
}  // namespace shiftlog
