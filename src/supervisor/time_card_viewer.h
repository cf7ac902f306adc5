// The time card viewer: the 56 cards of a stored week, one associate per screen, on the card
// screen of the punch clock.
#pragma once

#include "frame/program.h"

namespace shiftlog {

// Menu choice 2: the card file chooser in view mode, then the viewer on the chosen week from
// card 1. Back to the caller when no file was chosen or the viewer is left with [ESC]. The
// chosen week stays the card name in use.
void ViewTimeCards(Program& program);

// The viewer on the card name in use, from card 1, until [ESC].
void TimeCardViewer(Program& program);

}  // namespace shiftlog
