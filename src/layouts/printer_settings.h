// The station's printer settings as the register data file and the printer record file give
// them, and the reading of those two records. The printed card and the exported cards take
// their layout from them (setting 8: the wide layout and the 5-character totals), so both the
// time clock and the back-office command line read them here, the same way.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "host/run_time_errors.h"
#include "store/store_context.h"

namespace shiftlog {

struct PrinterSettings {
  std::array<int, 27> settings{};  // printer settings 1-26; index 0 unused
  std::string deviceName;          // "LPT1:", another device, or a print file name
  std::string extraLineEnd;        // empty, or one line feed sent before every CR LF
  double printPause = 0;           // seconds to wait after a job sent to the print file
  int lineWidth = 120;             // characters per printed line

  int& operator[](int n) { return settings[n]; }
  int operator[](int n) const { return settings[n]; }
};

inline constexpr int kPrinterSettingsRecord = 3;                       // in the register data file
inline constexpr int kPrinterOverrideRecord = 465;                     // in the printer record file
inline constexpr const char* kOverridePrintFileName = "WLSDFKJN.DR2";  // "FILE:" in the printer record file

// Printer settings 1 to 10 from record 3 of the register data file (one byte each).
void ApplyPrinterSettingsRecord(PrinterSettings& printer, std::string_view record);

// Applies record 465 of the printer record file when its first byte is 1: settings 1 to 8 and
// 13 to 18, the device ("FILE:" is the print file WLSDFKJN.DR2) and the extra line end.
// Returns whether it applied.
bool ApplyPrinterOverrideRecord(PrinterSettings& printer, std::string_view record);

// Reads record 465 of the printer record file (configuration name + ".DAT" in the current
// folder). The time clock creates a missing file empty, as the suite's run-time does; a reader
// that must not write (createIfMissing false) gets zero bytes for a missing file.
Status ReadPrinterOverrideRecord(StoreContext& store, std::string& record, bool createIfMissing);

// The station's printer settings as the time clock's start-up leaves settings 1 to 10: record
// 3 of the local register data file, then the printer record file's overrides. Only reads;
// the register data file must exist.
Status ReadStationPrinterSettings(StoreContext& store, PrinterSettings& printer);

}  // namespace shiftlog
