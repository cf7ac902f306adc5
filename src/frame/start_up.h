// The time clock's run from start to hand-over: start-up, then the screens.
#pragma once

#include <string>

#include "frame/program.h"

namespace shiftlog {

// The whole run: start-up, then the PIN screens. Returns the exit status when the program
// ends without handing over (the launch notice); hand-over replaces the process, and an end
// chosen in the run-time error report throws ProgramEnd.
int RunTimeClock(Program& program);

// Start-up: clears the program state, sets up the screen, takes over TILCONFG.DAT, loads the
// configuration and the associate list and works out this week's card. Returns false when the
// program was not started by the cash-register program: the launch notice has then been shown
// and answered, and the program is to end.
bool StartUp(Program& program);

// Makes sure the screen's second page can be used (the calculator draws there). Every terminal
// this program runs on has it, so the no-graphics flag stays 0 and no notice is shown.
void CheckGraphicsAdapter(Program& program);

// The drive of the folder the program runs in: the first two characters of that folder's DOS
// form. Every host folder lies on drive C:, which stands for the host's root.
void FindCurrentDrive(Program& program, std::string& drive);

}  // namespace shiftlog
