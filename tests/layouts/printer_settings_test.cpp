#include "layouts/printer_settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "frame/configuration.h"
#include "store/register_file_builder.h"
#include "support/test_program.h"

namespace shiftlog {
namespace {

// The back office reads the station's printer settings as the time clock's start-up does,
// without ever making the printer record file the time clock makes when it is missing.
TEST(StationPrinterSettings, ReadAsTheTimeClockReadsThemAndNothingIsMade) {
  struct Case {
    int inUse;  // byte 0 of record 465; -1: no printer record file
    int setting8;
    const char* device;
  };
  for (const Case& c : {Case{-1, 1, ""}, Case{1, 6, "WLSDFKJN.DR2"}, Case{2, 1, ""}}) {
    SCOPED_TRACE(c.inUse);
    testing::TestProgram t;
    t.program.store.configName = "SHOP1";
    RegisterFileBuilder builder;
    for (int n = 1; n <= 10; ++n) builder.SetPrinterSetting(n, n == 8 ? 1 : 20 + n);
    ASSERT_TRUE(builder.WriteTo(t.host.store / "SHOP1.TIL"));
    const std::filesystem::path overridesFile = t.host.store / "SHOP1.DAT";
    if (c.inUse >= 0) {
      RecordImage overrides(80, kPrinterOverrideRecord);
      overrides.SetByte(kPrinterOverrideRecord, 0, c.inUse);
      overrides.SetByte(kPrinterOverrideRecord, 7, 6);
      overrides.SetByte(kPrinterOverrideRecord, 12, 13);
      overrides.SetText(kPrinterOverrideRecord, 25, "FILE:", 25);
      ASSERT_TRUE(overrides.WriteTo(overridesFile));
    }

    PrinterSettings station;
    ASSERT_TRUE(ReadStationPrinterSettings(t.program.store, station));
    EXPECT_EQ(station[8], c.setting8);
    EXPECT_EQ(station.deviceName, c.device);
    EXPECT_EQ(std::filesystem::exists(overridesFile), c.inUse >= 0);
    LoadConfiguration(t.program);
    for (int n = 1; n <= 18; ++n) EXPECT_EQ(station[n], t.program.printer[n]) << "setting " << n;
  }
  testing::TestProgram t;
  t.program.store.configName = "NONE";
  PrinterSettings station;
  EXPECT_EQ(ReadStationPrinterSettings(t.program.store, station).error, kFileNotFound);
}

}  // namespace
}  // namespace shiftlog
