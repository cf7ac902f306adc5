// The printer check: whether a printout may go ahead and, when the printer is in trouble,
// what the user wants done. Before a card is printed a ready
// printer, a print file or the quick printer error trap let printing start without a word;
// after a failed write the printer error screen (or, without a second screen page, the small
// printer dialog) always comes up.
#pragma once

#include <string>

#include "frame/program.h"

namespace shiftlog {

// Results of the printer error screen's menu; the small dialog gives the key code pressed.
inline constexpr int kGoAhead = 0;
inline constexpr int kCheckAgain = 1;   // "1. Problem is fixed, resume printing."
inline constexpr int kEndPrinting = 2;  // "2. Problem unknown or insurmountable, end printing."
inline constexpr int kToggleQuickTrap = 3;

// The ready status value when the register data file cannot tell one.
inline constexpr int kDefaultReadyStatus = 223;

// Asked before printing (beforePrinting) or after a failed write. Returns kGoAhead when
// printing may go ahead, else the menu item chosen (or the small dialog's key code). Item 3
// toggles the quick printer error trap.
int CheckPrinter(Program& program, const std::string& deviceName, bool beforePrinting);

// The status byte of a ready printer, as the store keeps it: byte 57 of record 2 of the
// register data file in the current folder; 223 when that cannot be read or is 0.
int ReadyStatusValue(Program& program);

}  // namespace shiftlog
