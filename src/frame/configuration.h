// The configuration the time clock takes from the cash-register suite's files at start-up:
// the print pause from \TIMING.DAT; the data path, display mode, colour palette, printer
// settings and device from the register data file (configuration name + ".TIL"); printer
// overrides from the printer record file (configuration name + ".DAT"); and the associate list.
#pragma once

#include <string>
#include <string_view>

#include "console/console.h"
#include "frame/program.h"
#include "host/run_time_errors.h"

namespace shiftlog {

inline constexpr const char* kPrintFileName = "WLSDFKJN.DRY";  // "FILE:" in the register data file

// Reads everything above into the program state, in the order the suite reads it. Up to and
// including the palette a failing read only sets the error flag and leaves the defaults; after
// that a failure goes to the run-time error report, and going on skips the failed step.
void LoadConfiguration(Program& program);

// Applies printer record 465 of the printer record file when its first byte is 1.
Status LoadPrinterOverrides(Program& program);

// The print pause in the text of TIMING.DAT: its first number, 0 when there is none.
double PrintPauseOf(std::string_view text);

// The printer device of the 23-character port field of the register data file: the field
// without surrounding blanks; "LPT1:" when that is empty or holds a blank or a zero byte;
// the print file for "FILE:".
std::string PrinterDeviceOf(std::string_view portField);

// Maps the colours of the colour choice (0-7; other values count as 0) and applies the display
// mode byte (0 monochrome, 1 colour, 2 bright monochrome) to the console.
void ApplyPalette(Console& console, int colourChoice, int displayModeByte);

}  // namespace shiftlog
