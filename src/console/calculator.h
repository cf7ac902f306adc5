// The pop-up calculator, opened from the key wait and the field editor with [F2] or Alt+2: a
// four-function calculator with square root, a desk aid whose result goes nowhere.
#pragma once

#include "console/console.h"

namespace shiftlog {

// Opens the calculator over the current screen, large form first, and returns on [ESC] with
// the screen below, the pages, the position, colours and cursor as they were. Does nothing
// when the second page cannot be used (no-graphics flag).
void Calculator(Console& console);

}  // namespace shiftlog
