// The run-time error report: what the user sees when a failure reaches no trap. It names the
// error number and its text and asks whether to go on.
#pragma once

#include <exception>

#include "frame/program.h"
#include "host/run_time_errors.h"

namespace shiftlog {

// Shows the report for error number and waits for the answer. [Y] goes on: the screen is put
// back as it was and the function returns, so the caller skips the step that failed. [N] or
// [ESC] ends the program (throws ProgramEnd). With canContinue false the report only says that
// the program ends, and any key ends it.
void RunTimeErrorReport(Program& program, int number, bool canContinue = true);

// Reports a failed status (the user chose to go on when it returns) and tells whether the
// step worked: if (!ReportIfFailed(program, status)) skip the rest of the step.
bool ReportIfFailed(Program& program, Status status);

// The run-time error number that stands for an exception nothing else caught.
int RunTimeErrorOf(const std::exception& failure);

}  // namespace shiftlog
