// Picking the associate whose card a supervisor wants: the associate grid with a bar on one
// name.
#pragma once

#include "frame/program.h"

namespace shiftlog {

// Runs the screen. Returns the slot (1 to 56) under the bar when [ENTER] is pressed on a slot
// with a name, or 0 for [ESC].
int ChooseTimeCard(Program& program);

}  // namespace shiftlog
