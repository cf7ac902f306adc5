// The supervisor tools as the punch screen's [F8] reaches them: the supervisor menu, and the
// tool behind each of its choices.
#pragma once

#include "frame/program.h"

namespace shiftlog {

// Shows the supervisor menu and runs the chosen tools, the menu again after each, until
// "7. Quit". The caller then shows the logged-in associate's punch screen again.
void RunSupervisorTools(Program& program);

// Runs the tool for one menu choice (1 to 6) and returns when it is done.
void RunSupervisorChoice(Program& program, int choice);

// Choice 1: the card file chooser in modify mode, then the associate whose card is to be
// corrected. Returns that slot, with the chosen week as the card name in use; 0 when nothing
// was chosen.
int ChooseCardToCorrect(Program& program);

// Choice 5: the chooser in delete mode; the card name in use (and its date text) come back
// afterwards as they were.
void DeleteTimeCards(Program& program);

}  // namespace shiftlog
