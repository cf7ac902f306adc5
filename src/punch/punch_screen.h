// The punch screen: the logged-in associate's card of this week, where [CTRL]+[INSERT] stores
// the time of day in today's cursor slot. It hands back where the associate goes next; the
// program's flow returns to the register or opens the supervisor menu.
#pragma once

#include <string>

#include "frame/program.h"

namespace shiftlog {

enum class PunchScreenExit {
  kReturnToRegister,  // [ESC] or [F11]; also after a card that could not be read was reported
  kSupervisorMenu,    // [F8] by a supervisor, or by anyone while nobody is marked supervisor
};

PunchScreenExit PunchScreen(Program& program);

// The five characters a punch stores: the time of day as HH:MM, seconds dropped.
std::string PunchText(const LocalTime& now);

}  // namespace shiftlog
