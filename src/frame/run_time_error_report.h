// The report for a failure no trap catches: the error number, its text and the question
// whether to go on. Going on skips the failing step; declining ends the program, the terminal
// restored first.
#pragma once

#include "frame/program.h"

namespace shiftlog {

void ReportRunTimeError(Program& program, int errorNumber);

}  // namespace shiftlog
