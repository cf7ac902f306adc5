// The screen start-up ends on until the PIN screens take over: it says that the time clock has
// started, keeps the time running, and [ESC] hands back to the cash-register program.
#pragma once

#include "frame/program.h"

namespace shiftlog {

// Returns only through ReturnToRegister (which replaces the process) or ProgramEnd.
void TimeClockStartedScreen(Program& program);

}  // namespace shiftlog
