// Menu choice 4: a stored week's cards as a TEXT or DATA file in the SEND folder of the data
// path, which the cash-register program sends on when the register is closed.
#pragma once

#include "frame/program.h"

namespace shiftlog {

// The card file chooser in transmit mode, then the help screen and its menu, where any number
// of TEXT (.TXT) and DATA (.CSV) files of the chosen week can be made, each named store ID +
// the week's eight digits, until "1. Cancel" or [ESC]. The chosen week stays the card name in
// use, with its date text and week dates.
void TransmitCards(Program& program);

}  // namespace shiftlog
