// How the program ends from anywhere inside it.
//
// Ending is one path: whoever decides that the program ends (the run-time error report when
// the user declines to go on) throws ProgramEnd. It is caught only in main(), which restores
// the terminal and exits with the status it carries; tests catch it to see that the program
// ended. While it unwinds, every open file closes through its owner's destructor, so nothing
// is left half-written or locked. It deliberately does not derive from std::exception, so a
// catch of std::exception on the way never swallows it.
//
// Handing over to the cash-register program is not an end of this kind: the cash-register
// program replaces this process (see ReturnToRegister).
#pragma once

namespace shiftlog {

inline constexpr int kExitNormal = 0;
inline constexpr int kExitNotStartedByRegister = 1;  // the launch notice was shown
inline constexpr int kExitRunTimeError = 2;          // ended from the run-time error report

struct ProgramEnd {
  int exitStatus = kExitNormal;
};

}  // namespace shiftlog
