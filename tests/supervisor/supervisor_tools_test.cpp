#include "supervisor/supervisor_tools.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "console/wait_key.h"
#include "frame/start_up.h"
#include "punch/card_fixture.h"
#include "store/register_file_builder.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;
using testing::CardFixture;

struct SupervisorToolsTest : CardFixture {
  SupervisorToolsTest() {
    SaveCardFile(NewCardFile(), "20121208");
    SaveCardFile(NewCardFile(), "20121215");
    t.program.frame.cardNameInUse = "20121215";
    t.program.frame.dateText = "12-15-2012";
  }
  void Menu(const std::string& digit) {
    t.terminal.Type(digit);
    t.terminal.Type("\r");
  }
};

TEST_F(SupervisorToolsTest, ViewingAnOlderWeekKeepsItInUseUntilQuit) {
  Menu("2");
  t.terminal.TypeExtended(kKeyUp);  // the older week
  t.terminal.Type("\r");
  t.terminal.TypeExtended(kKeyPageDown);
  t.terminal.Type("\x1b");  // back to the menu
  t.terminal.Type("\x1b");  // Quit
  RunSupervisorTools(t.program);
  EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  EXPECT_EQ(t.program.frame.cardNameInUse, "20121208");
  EXPECT_EQ(t.program.frame.dateText, "12-08-2012");
  EXPECT_EQ(t.terminal.Text(3, 34, 15), "Supervisor menu");
}

TEST_F(SupervisorToolsTest, ChoicesWithoutAToolAndCancelledChoicesShowTheMenuAgain) {
  t.program.frame.cardNameInUse = "20121208";
  t.program.frame.dateText = "12-08-2012";
  Menu("3");
  Menu("4");
  Menu("6");
  Menu("5");
  t.terminal.Type("\x1b");  // leaves the deletion: the week in use comes back
  Menu("2");
  t.terminal.Type("\x1b");  // nothing to view
  Menu("1");
  t.terminal.Type("\x1b");  // no card file: no associate asked for
  t.terminal.Type("\x1b");
  RunSupervisorTools(t.program);
  EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  EXPECT_EQ(t.program.frame.cardNameInUse, "20121208");
  EXPECT_EQ(t.terminal.Beeps(), 0);
}

TEST_F(SupervisorToolsTest, CorrectingAsksForTheWeekThenTheAssociate) {
  t.terminal.TypeExtended(kKeyUp);
  t.terminal.Type("\r");
  t.terminal.Type("\x1b");  // no associate: nothing changes
  EXPECT_EQ(ChooseCardToCorrect(t.program), 0);
  EXPECT_EQ(t.program.frame.cardNameInUse, "20121215");

  t.terminal.TypeExtended(kKeyUp);
  t.terminal.Type("\r");
  t.terminal.TypeExtended(kKeyDown);
  t.terminal.TypeExtended(kKeyDown);
  t.terminal.Type("\r");
  EXPECT_EQ(ChooseCardToCorrect(t.program), 3);
  EXPECT_EQ(t.program.frame.cardNameInUse, "20121208");
}

// The whole road: a supervisor's PIN, [F8], an older week in the viewer, back to the menu, and
// "7. Quit" shows this week's card again.
TEST(SupervisorRoad, QuitAfterViewingAnOlderWeekShowsThisWeeksCard) {
  testing::TestProgram t;
  t.WriteFileBytes(t.host.store / "TILCONFG.DAT", "\"SHOP1\"\r\n");
  RegisterFileBuilder builder;
  builder.SetAssociate(3, "CAROL CHIEF", 1234, "00000007", true);
  ASSERT_TRUE(builder.WriteTo(t.host.store / "SHOP1.TIL"));
  fs::create_directories(t.host.store / "SHOP1");
  t.WriteFileBytes(t.host.store / "SHOP1" / "20121208.CLK", std::string(57 * 800, ' '));
  t.terminal.TypeText("1234");
  t.terminal.Type("\r");
  t.terminal.TypeExtended(kKeyF8);
  t.terminal.Type("2");
  t.terminal.Type("\r");
  t.terminal.TypeExtended(kKeyUp);  // last week's file, before this week's
  t.terminal.Type("\r");
  t.terminal.TypeExtended(kKeyEnd);
  t.terminal.Type("\x1b");
  t.terminal.Type("7");
  t.terminal.Type("\r");
  EXPECT_THROW(RunTimeClock(t.program), ScriptExhausted);
  EXPECT_EQ(t.program.frame.todayIndex, 6);
  EXPECT_EQ(t.terminal.Text(1, 15, 33), "Associate = 00000007 CAROL CHIEF ");
  EXPECT_EQ(t.terminal.Text(1, 63, 15), "[F8]=Supervisor");
  EXPECT_EQ(t.terminal.Text(22, 2, 10), "12-15-2012");
  EXPECT_EQ(t.program.frame.cardNameInUse, "20121215");
  EXPECT_EQ(t.terminal.PendingKeys(), 0u);
}

}  // namespace
}  // namespace shiftlog
