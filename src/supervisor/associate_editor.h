// The associate editor: the 56 associate slots on the two-page grid, where a supervisor
// corrects names and ID numbers, marks payroll supervisors and switches the rule that a
// supervisor must unlock the clock.
#pragma once

#include "frame/program.h"

namespace shiftlog {

// Menu choice 3: runs the editor on the associate list until [ESC], then saves the supervisor
// flags, the rule and the ID numbers in the register data file and copies all 56 names and ID
// numbers into the card file in use.
void AssociateEditor(Program& program);

}  // namespace shiftlog
