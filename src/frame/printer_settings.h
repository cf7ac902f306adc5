// Printer configuration taken from the register data file and the printer record file.
#pragma once

#include <array>
#include <string>

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

// What the printer check keeps while the program runs.
struct PrinterCheckState {
  int prePrint = 0;   // 1 while a printout runs its check before printing
  int quickTrap = 0;  // 1 = the check before printing trusts the printer without asking it
};

}  // namespace shiftlog
