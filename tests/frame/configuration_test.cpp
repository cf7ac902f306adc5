#include "frame/configuration.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "frame/program_end.h"
#include "frame/start_up.h"
#include "store/register_file_builder.h"
#include "support/test_program.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;
using testing::TestProgram;

class ConfigurationTest : public ::testing::Test {
 protected:
  ConfigurationTest() { t.program.store.configName = "SHOP1"; }
  void WriteRegister() { ASSERT_TRUE(builder.WriteTo(t.host.store / "SHOP1.TIL")); }
  void WriteTiming(const std::string& text) { TestProgram::WriteFileBytes(t.host.root / "TIMING.DAT", text); }
  PrinterSettings& printer() { return t.program.printer; }
  std::uint8_t Palette(int colour) { return t.console().screen.CurrentFrame().palette[colour]; }

  TestProgram t;
  RegisterFileBuilder builder;
};

TEST_F(ConfigurationTest, PrintFileWithPrintingOnKeepsThePauseOfTimingDat) {
  builder.SetPrinterPort("  FILE:");
  builder.SetPrinterSetting(1, 1);
  WriteRegister();
  WriteTiming(" 5\r\n");
  LoadConfiguration(t.program);
  EXPECT_EQ(printer().deviceName, "WLSDFKJN.DRY");
  EXPECT_EQ(printer().printPause, 5);
  EXPECT_EQ(t.program.frame.errorFlag, 0);
}

TEST_F(ConfigurationTest, APrinterPortDropsThePause) {
  builder.SetPrinterPort("LPT2:");
  builder.SetPrinterSetting(1, 1);
  WriteRegister();
  WriteTiming("5");
  LoadConfiguration(t.program);
  EXPECT_EQ(printer().deviceName, "LPT2:");
  EXPECT_EQ(printer().printPause, 0);
}

TEST_F(ConfigurationTest, PrintFileWithPrintingOffDropsThePause) {
  builder.SetPrinterPort("FILE:");
  WriteRegister();
  WriteTiming("5");
  LoadConfiguration(t.program);
  EXPECT_EQ(printer().printPause, 0);
}

TEST(PrinterDeviceOf, BlankInsideEmptyOrZeroByteGivesLpt1) {
  EXPECT_EQ(PrinterDeviceOf("LPT 2:"), "LPT1:");
  EXPECT_EQ(PrinterDeviceOf("                       "), "LPT1:");
  EXPECT_EQ(PrinterDeviceOf(std::string("LPT2:\0", 6)), "LPT1:");
  EXPECT_EQ(PrinterDeviceOf("   COM1:   "), "COM1:");
  EXPECT_EQ(PrinterDeviceOf("FILE:"), "WLSDFKJN.DRY");
}

TEST(PrintPauseOf, FirstNumberOrZero) {
  EXPECT_EQ(PrintPauseOf("  12,7\r\n"), 12);
  EXPECT_EQ(PrintPauseOf("3 4"), 3);  // the number ends at a blank
  EXPECT_EQ(PrintPauseOf("2.5"), 2.5);
  EXPECT_EQ(PrintPauseOf("none"), 0);
  EXPECT_EQ(PrintPauseOf(""), 0);
  EXPECT_EQ(PrintPauseOf("\r\n5"), 0);
  EXPECT_EQ(PrintPauseOf("-4"), 0);
}

TEST_F(ConfigurationTest, TimingDatWithoutANumberGivesNoPause) {
  builder.SetPrinterPort("FILE:");
  builder.SetPrinterSetting(1, 1);
  WriteRegister();
  WriteTiming("soon\r\n");
  LoadConfiguration(t.program);
  EXPECT_EQ(printer().printPause, 0);
}

TEST_F(ConfigurationTest, TimingDatIsReadFromTheRootOfTheCurrentDriveOnly) {
  builder.SetPrinterPort("FILE:");
  builder.SetPrinterSetting(1, 1);
  WriteRegister();
  TestProgram::WriteFileBytes(t.host.store / "TIMING.DAT", "9");
  LoadConfiguration(t.program);
  EXPECT_EQ(printer().printPause, 0);
  EXPECT_EQ(t.program.frame.errorFlag, 1);  // the missing file was trapped
}

TEST_F(ConfigurationTest, PrinterRecordFileOverridesDeviceAndSettingsButNotThePause) {
  builder.SetPrinterPort("FILE:");
  builder.SetPrinterSetting(1, 1);
  builder.SetPrinterSetting(9, 1);
  WriteRegister();
  WriteTiming("7");
  RecordImage overrides(80, 465);
  overrides.SetByte(465, 0, 1);
  overrides.SetByte(465, 1, 1);   // setting 2
  overrides.SetByte(465, 7, 6);   // setting 8
  overrides.SetByte(465, 8, 99);  // setting 9 is not overridden
  overrides.SetByte(465, 12, 13);
  overrides.SetByte(465, 17, 18);
  overrides.SetText(465, 25, "FILE:", 25);
  ASSERT_TRUE(overrides.WriteTo(t.host.store / "SHOP1.DAT"));
  LoadConfiguration(t.program);
  EXPECT_EQ(printer().deviceName, "WLSDFKJN.DR2");
  EXPECT_EQ(printer().printPause, 7);
  EXPECT_EQ(printer()[1], 1);
  EXPECT_EQ(printer()[2], 1);
  EXPECT_EQ(printer()[8], 6);
  EXPECT_EQ(printer()[9], 1);
  EXPECT_EQ(printer()[13], 13);
  EXPECT_EQ(printer()[18], 18);
  EXPECT_EQ(printer().extraLineEnd, "\n");  // settings 2 and 9
}

TEST_F(ConfigurationTest, APrinterRecordNotMarkedInUseChangesNothing) {
  builder.SetPrinterPort("LPT2:");
  WriteRegister();
  RecordImage overrides(80, 465);
  overrides.SetByte(465, 0, 2);
  overrides.SetText(465, 25, "FILE:", 25);
  ASSERT_TRUE(overrides.WriteTo(t.host.store / "SHOP1.DAT"));
  LoadConfiguration(t.program);
  EXPECT_EQ(printer().deviceName, "LPT2:");
  EXPECT_EQ(printer()[1], 0);
}

TEST_F(ConfigurationTest, ExtraLineEndNeedsSettings2And24) {
  builder.SetPrinterSetting(2, 1);
  builder.SetDisplayRecordByte(55, 9);
  WriteRegister();
  LoadConfiguration(t.program);
  EXPECT_EQ(printer()[24], 1);
  EXPECT_EQ(printer().extraLineEnd, "\n");

  TestProgram other;
  other.program.store.configName = "SHOP1";
  builder.SetPrinterSetting(2, 0);
  ASSERT_TRUE(builder.WriteTo(other.host.store / "SHOP1.TIL"));
  LoadConfiguration(other.program);
  EXPECT_EQ(other.program.printer.extraLineEnd, "");
}

TEST_F(ConfigurationTest, SettingsOfTheDisplayRecordAreMappedAsTheSuiteStoresThem) {
  builder.SetDisplayRecordByte(50, 2);  // setting 19: above 1 counts as 0
  builder.SetDisplayRecordByte(51, 7);
  builder.SetDisplayRecordByte(53, 1);
  builder.SetDisplayRecordByte(54, 32);  // setting 23: 0, 32 and 100 or more become 50
  builder.SetDisplayRecordByte(56, 2);   // setting 26 only
  for (int n = 1; n <= 10; ++n) builder.SetPrinterSetting(n, n + 100);
  WriteRegister();
  LoadConfiguration(t.program);
  EXPECT_EQ(printer()[19], 0);
  EXPECT_EQ(printer()[20], 1);
  EXPECT_EQ(printer()[21], 0);
  EXPECT_EQ(printer()[22], 1);
  EXPECT_EQ(printer()[23], 50);
  EXPECT_EQ(printer()[25], 0);
  EXPECT_EQ(printer()[26], 1);
  for (int n = 1; n <= 10; ++n) EXPECT_EQ(printer()[n], n + 100) << n;
  EXPECT_EQ(printer()[11], 0);
  EXPECT_EQ(printer()[12], 0);
}

TEST_F(ConfigurationTest, LineSpacingAndPaperByteEdges) {
  for (const auto& [byte54, setting23] : {std::pair{1, 1}, {99, 99}, {100, 50}, {0, 50}, {31, 31}}) {
    TestProgram other;
    other.program.store.configName = "SHOP1";
    builder.SetDisplayRecordByte(54, byte54);
    builder.SetDisplayRecordByte(56, 4);  // above 3: neither 25 nor 26
    ASSERT_TRUE(builder.WriteTo(other.host.store / "SHOP1.TIL"));
    LoadConfiguration(other.program);
    EXPECT_EQ(other.program.printer[23], setting23) << byte54;
    EXPECT_EQ(other.program.printer[25] + other.program.printer[26], 0);
  }
}

TEST_F(ConfigurationTest, ColourChoiceSixShowsColourEightForBlueAndLeavesAttributeEight) {
  builder.SetColourChoice(6);
  WriteRegister();
  const std::uint8_t eight = Palette(8);
  LoadConfiguration(t.program);
  EXPECT_EQ(Palette(1), 8);
  EXPECT_EQ(Palette(8), eight);
  for (int a : {0, 2, 3, 4, 5, 6, 7}) EXPECT_EQ(Palette(a), a) << a;
}

TEST_F(ConfigurationTest, ColourChoicesTradePlacesWithBlue) {
  for (const auto& [choice, colour] : {std::pair{0, 1}, {3, 4}, {7, 0}, {200, 1}}) {
    TestProgram other;
    other.program.store.configName = "SHOP1";
    builder.SetColourChoice(choice);
    builder.SetDisplayMode(1);
    ASSERT_TRUE(builder.WriteTo(other.host.store / "SHOP1.TIL"));
    LoadConfiguration(other.program);
    const auto palette = other.console().screen.CurrentFrame().palette;
    EXPECT_EQ(palette[1], colour) << choice;
    EXPECT_EQ(palette[colour], 1) << choice;
    EXPECT_EQ(other.console().displayMode, kColourDisplay);
  }
}

TEST_F(ConfigurationTest, BrightMonochromeDrawsWithForegroundFifteenAndBrightWhite) {
  builder.SetDisplayMode(2);
  WriteRegister();
  t.program.frame.errorFlag = 1;
  LoadConfiguration(t.program);
  EXPECT_EQ(t.console().displayMode, kMonochrome);
  EXPECT_EQ(t.console().monoForeground, 15);
  EXPECT_EQ(Palette(7), 63);
  EXPECT_EQ(t.program.frame.errorFlag, 0);
}

TEST_F(ConfigurationTest, DisplayModeAboveTwoIsColour) {
  builder.SetDisplayMode(9);
  WriteRegister();
  t.console().displayMode = kMonochrome;
  LoadConfiguration(t.program);
  EXPECT_EQ(t.console().displayMode, kColourDisplay);
}

TEST_F(ConfigurationTest, MissingRegisterFileIsCreatedEmptyAndGivesTheDefaults) {
  LoadConfiguration(t.program);
  EXPECT_TRUE(fs::exists(t.host.store / "SHOP1.TIL"));
  EXPECT_EQ(fs::file_size(t.host.store / "SHOP1.TIL"), 0u);
  EXPECT_EQ(t.program.store.dataPath, "");
  EXPECT_EQ(t.console().displayMode, kMonochrome);
  EXPECT_EQ(t.console().monoForeground, 7);
  EXPECT_EQ(printer().deviceName, "LPT1:");
  for (int n = 1; n <= 26; ++n) EXPECT_EQ(printer()[n], n == 23 ? 50 : 0) << n;
  EXPECT_EQ(printer().extraLineEnd, "");
  EXPECT_EQ(t.program.store.associates.noSupervisor, 1);
  EXPECT_EQ(t.program.store.associates.ids[56], "        ");
  EXPECT_EQ(t.program.store.associates.storeId, "            ");
}

TEST_F(ConfigurationTest, AShortRegisterFileReadsZeroBytesPastItsEnd) {
  std::string bytes = builder.Bytes().substr(0, 80 * 3);
  bytes[80 * 2 + 0] = 4;   // printer setting 1
  bytes[80 * 2 + 19] = 1;  // colour
  TestProgram::WriteFileBytes(t.host.store / "SHOP1.TIL", bytes);
  LoadConfiguration(t.program);
  EXPECT_EQ(printer()[1], 4);
  EXPECT_EQ(t.console().displayMode, kColourDisplay);
  EXPECT_EQ(printer().deviceName, "LPT1:");
  EXPECT_EQ(printer()[23], 50);
  EXPECT_EQ(t.program.store.associates.pins[1], 0);
}

TEST_F(ConfigurationTest, DataPathWithAZeroByteIsEmpty) {
  builder.SetDataPath("F:\\STORE\\");
  builder.Image().SetByte(8, 30, 0);
  WriteRegister();
  LoadConfiguration(t.program);
  EXPECT_EQ(t.program.store.dataPath, "");
}

TEST_F(ConfigurationTest, TheSharedCopyInTheDataPathGivesTheAssociatesAndTheLateSettings) {
  const fs::path shared = t.folder.path() / "server";
  fs::create_directories(shared / "STORE");
  t.host.drives['F'] = shared;
  builder.SetDataPath("  F:\\STORE\\  ");
  builder.SetAssociate(1, "LOCAL", 1111, "L1");
  builder.SetDisplayRecordByte(55, 1);  // setting 24 comes from the local copy
  builder.SetDisplayRecordByte(51, 0);
  WriteRegister();
  RegisterFileBuilder server;
  server.SetAssociate(1, "SHARED", 2222, "S1", true);
  server.SetDisplayRecordByte(51, 1);  // setting 20 comes from the shared copy
  server.SetDisplayRecordByte(55, 0);
  ASSERT_TRUE(server.WriteTo(shared / "STORE" / "shop1.til"));  // found whatever its case
  LoadConfiguration(t.program);
  EXPECT_EQ(t.program.store.dataPath, "F:\\STORE\\");
  EXPECT_EQ(t.program.store.associates.names[1].substr(0, 6), "SHARED");
  EXPECT_EQ(t.program.store.associates.pins[1], 2222);
  EXPECT_EQ(printer()[20], 1);
  EXPECT_EQ(printer()[24], 1);
}

TEST_F(ConfigurationTest, ADataPathOnADriveNotReadyIsReportedAndTheLocalCopyServes) {
  builder.SetDataPath("G:\\STORE\\");
  builder.SetAssociate(2, "LOCAL", 1234, "L2");
  WriteRegister();
  t.terminal.Type("y");
  LoadConfiguration(t.program);
  EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  EXPECT_EQ(t.program.store.associates.pins[2], 1234);

  TestProgram other;
  other.program.store.configName = "SHOP1";
  ASSERT_TRUE(builder.WriteTo(other.host.store / "SHOP1.TIL"));
  other.terminal.Type("n");
  EXPECT_THROW(LoadConfiguration(other.program), ProgramEnd);
}

TEST_F(ConfigurationTest, RandomRegisterFilesNeverCrashAndGiveSettingsInRange) {
  std::mt19937 random(20121215);
  for (int round = 0; round < 150; ++round) {
    TestProgram other;
    other.program.store.configName = "SHOP1";
    std::string bytes(random() % (80 * 470), '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    // Half the rounds keep the data path empty; in the others a random one may be reported.
    if (round % 2 == 0 && bytes.size() > 7 * 80) bytes[7 * 80 + 39] = '\0';
    TestProgram::WriteFileBytes(other.host.store / "SHOP1.TIL", bytes);
    std::string timing(random() % 40, ' ');
    for (char& c : timing) c = static_cast<char>("0123456789.-, \r\nx"[random() % 17]);
    TestProgram::WriteFileBytes(other.host.root / "TIMING.DAT", timing);
    for (int i = 0; i < 4; ++i) other.terminal.Type("y");

    ASSERT_NO_THROW(LoadConfiguration(other.program)) << round;
    const PrinterSettings& p = other.program.printer;
    ASSERT_TRUE(p[19] == 0 || p[19] == 1);
    for (int n : {20, 21, 22, 24, 25, 26}) ASSERT_TRUE(p[n] == 0 || p[n] == 1) << n;
    ASSERT_TRUE(p[23] > 0 && p[23] < 100 && p[23] != 32);
    ASSERT_FALSE(p.deviceName.empty());
    ASSERT_GE(p.printPause, 0);
    ASSERT_TRUE(other.console().displayMode == 0 || other.console().displayMode == 1);
    ASSERT_TRUE(other.console().monoForeground == 7 || other.console().monoForeground == 15);
    const AssociateList& list = other.program.store.associates;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
      ASSERT_LE(list.pins[slot], 100000000);
      ASSERT_EQ(list.names[slot].size(), 24u);
      ASSERT_EQ(list.ids[slot].size(), 8u);
      ASSERT_EQ(list.ids[slot].find('\0'), std::string::npos);
    }
    ASSERT_EQ(list.storeId.size(), 12u);
    ASSERT_EQ(list.storeId.find('\0'), std::string::npos);
  }
}

}  // namespace
}  // namespace shiftlog
