// Punch correction: a supervisor types corrected times beside an associate's punches, and a
// reason per day. The punches themselves are never changed; a correction stands beside its
// punch and takes its place in the totals, with the correcting supervisor's slot.
#pragma once

#include "frame/program.h"

namespace shiftlog {

// Menu choice 1, once the week and the associate are chosen: the correction screen on slot's
// card of the card name in use, until [ESC]. Every committed
// correction and every day reason is written to the file at once.
void PunchCorrection(Program& program, int slot);

}  // namespace shiftlog
