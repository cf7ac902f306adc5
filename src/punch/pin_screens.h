// The two PIN screens: the supervisor gate that unlocks the clock when the store asks for it,
// and the main PIN screen every associate sees. Neither leaves the program itself: they hand
// back what the user chose and the program's flow goes on from there.
#pragma once

#include <string_view>

#include "frame/program.h"

namespace shiftlog {

// Shown on the main PIN screen's frame, between "╡" and "╞" (14 cells in all).
inline constexpr std::string_view kVersionLabel = "\xB5shiftlog 1.0\xC6";

// Asks for a supervisor PIN until one matches: the supervisor's slot, or 0 for [ESC].
int SupervisorGate(Program& program);

// Asks for an associate's PIN until one matches: sets the logged-in slot and name and returns
// the slot; 0 for [ESC] (the logged-in slot then is 0 as well).
int MainPinScreen(Program& program);

}  // namespace shiftlog
