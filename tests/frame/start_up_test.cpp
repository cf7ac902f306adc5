#include "frame/start_up.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "console/wait_key.h"
#include "frame/hand_over.h"
#include "frame/launch_notice.h"
#include "frame/program_end.h"
#include "store/register_file_builder.h"
#include "support/test_program.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;
using testing::CashRegisterStarted;
using testing::TestProgram;

std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class StartUpTest : public ::testing::Test {
 protected:
  fs::path Store(const std::string& name) const { return t.host.store / name; }
  void HandOver(const std::string& bytes) { TestProgram::WriteFileBytes(Store("TILCONFG.DAT"), bytes); }
  TestProgram t;
};

TEST_F(StartUpTest, WithoutHandOverTheNoticeShowsAndTheProgramEndsAfterTwoKeysTouchingNoFile) {
  t.terminal.Type("x");
  t.terminal.Type("y");
  EXPECT_EQ(RunTimeClock(t.program), kExitNotStartedByRegister);
  EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  EXPECT_TRUE(FilesIn(t.host.store).empty());
  EXPECT_TRUE(FilesIn(t.host.root).empty());
  EXPECT_EQ(t.terminal.Text(25, 1, 25), "Press any key to continue");
}

TEST_F(StartUpTest, TheNoticeWaitsForAKeyBeforeThePrompt) {
  t.terminal.Type("x");
  EXPECT_THROW(RunTimeClock(t.program), ScriptExhausted);  // still waiting for the second key
  const std::string lines[] = {
      "   This program cannot be run directly, it can only be called from one",
      "of the other programs TIL.EXE. If TIL.EXE cannot run SHIFTLOG.EXE that",
      "means that you have not properly 'unzipped' or 'extracted' the files",
      "from TIL.ZIP but instead you have only opened the TIL.ZIP file.",
  };
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(t.terminal.Text(11 + i, 5, static_cast<int>(lines[i].size())), lines[i]);
    EXPECT_EQ(t.terminal.Character(11 + i, 5 + static_cast<int>(lines[i].size())), ' ');
  }
  // The double frame at column 3, rows 10-15, width 75, on the red panel with white text.
  EXPECT_EQ(t.terminal.Character(10, 3), 201);
  EXPECT_EQ(t.terminal.Character(10, 77), 187);
  EXPECT_EQ(t.terminal.Character(15, 3), 200);
  EXPECT_EQ(t.terminal.Character(12, 77), 186);
  EXPECT_EQ(t.terminal.Background(12, 2), 4);
  EXPECT_EQ(t.terminal.Attribute(11, 10), 0x4F);
  EXPECT_EQ(t.terminal.Background(5, 40), 7);
  // The prompt comes on the last row.
  EXPECT_EQ(t.terminal.Text(25, 1, 25), "Press any key to continue");
}

TEST_F(StartUpTest, TheNoticeOnAMonochromeDisplay) {
  t.console().displayMode = kMonochrome;
  t.terminal.Type("x");
  EXPECT_THROW(ShowLaunchNotice(t.program), ScriptExhausted);
  EXPECT_EQ(t.terminal.Attribute(11, 10), 0x0F);
  EXPECT_EQ(t.terminal.Attribute(10, 3), 0x07);
  EXPECT_EQ(t.terminal.Attribute(5, 40), 0x07);
  EXPECT_EQ(t.terminal.Character(10, 3), 201);
}

TEST_F(StartUpTest, StartedNormallyTheHandOverIsGoneUntilEscWritesItBack) {
  HandOver("\"SHOP1\"\r\n");
  bool goneWhileRunning = false;
  t.terminal.onIdle = [&](int) { goneWhileRunning = !fs::exists(Store("TILCONFG.DAT")); };
  t.terminal.Tick();
  t.terminal.TypeExtended(kKeyF1);  // not a key of the PIN field: ignored without a sound
  t.terminal.Type("\x1b");
  EXPECT_THROW(RunTimeClock(t.program), CashRegisterStarted);
  EXPECT_TRUE(goneWhileRunning);
  EXPECT_EQ(t.program.store.configName, "SHOP1");
  EXPECT_NE(t.terminal.Dump().find("Enter employee PIN number."), std::string::npos);
  EXPECT_EQ(TestProgram::ReadFileBytes(Store("TILCONFG.DAT")), "\"SHOP1\"\r\n");
  EXPECT_EQ(t.terminal.Beeps(), 0);
  EXPECT_EQ(t.host.registerStarts, 1);
}

TEST_F(StartUpTest, TheHandOverIsFoundWhateverTheCaseOfItsName) {
  TestProgram::WriteFileBytes(Store("tilconfg.dat"), "\"LOW\"\r\n");
  ASSERT_TRUE(StartUp(t.program));
  EXPECT_EQ(t.program.store.configName, "LOW");
  EXPECT_FALSE(fs::exists(Store("tilconfg.dat")));
}

TEST_F(StartUpTest, AnEmptyHandOverGivesAnEmptyConfigurationName) {
  HandOver("");
  t.terminal.Type("\x1b");
  EXPECT_THROW(RunTimeClock(t.program), CashRegisterStarted);
  EXPECT_EQ(t.program.store.configName, "");
  // The suite's files then have an empty base name.
  EXPECT_TRUE(fs::exists(Store(".TIL")));
  EXPECT_TRUE(fs::exists(Store(".DAT")));
  EXPECT_EQ(TestProgram::ReadFileBytes(Store("TILCONFG.DAT")), "\"\"\r\n");
}

TEST_F(StartUpTest, AVeryLongHandOverLineIsReadWithoutHarmAndDeleted) {
  HandOver("\"" + std::string(200000, 'A') + "\"\r\n");
  t.terminal.Type("Y");  // the name is too long for any file: the reports are answered
  t.terminal.Type("Y");
  t.terminal.Type("Y");
  ASSERT_TRUE(StartUp(t.program));
  EXPECT_FALSE(fs::exists(Store("TILCONFG.DAT")));
  EXPECT_LE(t.program.store.configName.size(), 32767u);
  EXPECT_GT(t.program.store.configName.size(), 1000u);
}

TEST_F(StartUpTest, TheWeekAndTheCardNameComeFromTodaysDate) {
  HandOver("\"SHOP1\"\r\n");
  RegisterFileBuilder builder;
  builder.SetWeekEnd(1);  // weeks end on Sunday
  ASSERT_TRUE(builder.WriteTo(Store("SHOP1.TIL")));
  t.clock.Set({2012, 12, 12, 10, 0, 0, 0});  // a Wednesday
  ASSERT_TRUE(StartUp(t.program));
  EXPECT_EQ(t.program.frame.dateText, "12-12-2012");
  EXPECT_EQ(t.program.frame.todayIndex, 2);
  EXPECT_EQ(t.program.frame.thisWeekCard, "20121216");
  EXPECT_EQ(t.program.frame.weekDates[0], "12-10-2012");
  EXPECT_EQ(t.program.frame.weekDates[6], "12-16-2012");
}

TEST_F(StartUpTest, NoSupervisorFlagFollowsTheAssociateList) {
  HandOver("\"SHOP1\"\r\n");
  RegisterFileBuilder builder;
  builder.SetAssociate(3, "ANNA", 1111, "A1");
  ASSERT_TRUE(builder.WriteTo(Store("SHOP1.TIL")));
  ASSERT_TRUE(StartUp(t.program));
  EXPECT_EQ(t.program.store.associates.noSupervisor, 1);

  HandOver("\"SHOP1\"\r\n");
  builder.SetSupervisor(40, true);
  ASSERT_TRUE(builder.WriteTo(Store("SHOP1.TIL")));
  ASSERT_TRUE(StartUp(t.program));
  EXPECT_EQ(t.program.store.associates.noSupervisor, 0);
}

TEST_F(StartUpTest, StartUpClearsWhatAnEarlierRunLeft) {
  t.program.frame.loggedInSlot = 5;
  t.program.printer[11] = 9;
  t.program.store.associates.pins[1] = 42;
  HandOver("\"SHOP1\"\r\n");
  ASSERT_TRUE(StartUp(t.program));
  EXPECT_EQ(t.program.frame.loggedInSlot, kNoMatch);
  EXPECT_EQ(t.program.printer[11], 0);
  EXPECT_EQ(t.program.store.associates.pins[1], 0);
  EXPECT_EQ(t.program.printer.lineWidth, 120);
  EXPECT_EQ(t.program.frame.currentDrive, "C:");
  EXPECT_EQ(t.console().noGraphics, 0);
}

TEST(FindCurrentDrive, IsTheDriveOfTheDosFormOfTheCurrentFolder) {
  TestProgram t;
  std::string drive = "X:";
  FindCurrentDrive(t.program, drive);
  EXPECT_EQ(drive, "C:");
}

}  // namespace
}  // namespace shiftlog
