// The supervisor menu: the hub from which a supervisor reaches the supervisor tools.
#pragma once

#include "frame/program.h"

namespace shiftlog {

enum SupervisorChoice {
  kCorrectTimePunch = 1,
  kViewTimeCards = 2,
  kAssociates = 3,
  kTransmitTimeCards = 4,
  kDeleteTimeCards = 5,
  kStoreSettings = 6,
  kQuitSupervisor = 7,
};

// Shows the menu with item 1 highlighted and returns the item chosen with [ENTER]; [ESC] (and
// [F11]) choose 7, Quit.
int SupervisorMenu(Program& program);

}  // namespace shiftlog
