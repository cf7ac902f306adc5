// The back-office command line: `shiftlog export` and `shiftlog status` over a store's folder,
// for the manager's or bookkeeper's computer and for nightly scripts. It reads the store's
// files through the store layer alone: no terminal, no screen, and nothing written to the store.
#pragma once

#include <ostream>

#include "host/clock.h"

namespace shiftlog {

// Runs the command in argv[1..]; the result goes to out (or to the file --output names), a
// one-line message to err when it fails. Returns the exit status: 0 done, 2 a command line that
// cannot be carried out as written, 1 a store that cannot be read or an output that cannot be
// written.
int RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err, Clock& clock);

// The same on standard output and standard error with the system clock.
int RunCommandLine(int argc, const char* const* argv);

}  // namespace shiftlog
