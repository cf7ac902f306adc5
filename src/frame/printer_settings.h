// Printer configuration taken from the register data file and the printer record file (the
// settings themselves are below the screens, in layouts/), and the printer check's state.
#pragma once

#include "layouts/printer_settings.h"

namespace shiftlog {

// What the printer check keeps while the program runs.
struct PrinterCheckState {
  int quickTrap = 0;  // 1 = the check before printing trusts the printer without asking it
};

}  // namespace shiftlog
