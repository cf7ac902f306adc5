// The two faces of the printer check: the full printer error screen, and the small printer
// dialog for displays without a second screen page. Both leave the screen below exactly as it
// was, with its position, colours and cursor.
#pragma once

#include "console/console.h"

namespace shiftlog {

// The printer error screen, drawn on page 3 over a copy of page 0 so that page 0 (and page 1,
// where a dialog may keep its saved screen) stays untouched: the status byte, the possible
// causes and a menu that only [ENTER] closes. Returns the item chosen, 1 to 3; item 3 reads
// "Turn off" while quickTrap is 1.
int PrinterErrorScreen(Console& console, int statusByte, int quickTrap);

// The small printer dialog over rows 9 to 14; returns the code of whatever key was pressed.
int PrinterErrorDialog(Console& console);

}  // namespace shiftlog
