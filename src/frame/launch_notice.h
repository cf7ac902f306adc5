// The notice shown when the time clock is started by anything other than the cash-register
// program (there is no TILCONFG.DAT): it says so, and the program ends after two keys.
#pragma once

#include "frame/program.h"

namespace shiftlog {

// Shows the notice, waits for a key, then shows "Press any key to continue" on the last row
// and waits for one more key. The caller then ends the program.
void ShowLaunchNotice(Program& program);

}  // namespace shiftlog
