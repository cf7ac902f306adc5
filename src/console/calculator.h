// The pop-up calculator, opened from the key wait and the field editor with [F2] or Alt+2.
#pragma once

#include "console/console.h"

namespace shiftlog {

// Opens the calculator over the current screen and returns when it is closed, with the screen
// below unchanged.
void Calculator(Console& console);

}  // namespace shiftlog
