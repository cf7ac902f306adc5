// Store and time settings: the store ID, the time display (hours and minutes or decimal hours)
// and the day the week ends on.
#pragma once

#include "frame/program.h"

namespace shiftlog {

// Menu choice 6: runs the screen until [ESC], then writes the settings into the header of the
// card file in use and into the register data file. When the week now ends on another day
// than when the screen first opened, the week change notice offers to go back to the
// cash-register program (this program ends there) or to the screen again.
void StoreTimeSettings(Program& program);

}  // namespace shiftlog
