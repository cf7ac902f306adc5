#include "supervisor/supervisor_tools.h"

#include <string>

#include "cardfiles/card_file_chooser.h"
#include "reports/transmit_cards.h"
#include "supervisor/associate_editor.h"
#include "supervisor/choose_time_card.h"
#include "supervisor/punch_correction.h"
#include "supervisor/store_time_settings.h"
#include "supervisor/supervisor_menu.h"
#include "supervisor/time_card_viewer.h"

namespace shiftlog {

int ChooseCardToCorrect(Program& program) {
  std::string chosen;
  ChooseCardFile(program, chosen, kModifyCardFile);
  if (chosen.empty()) return 0;  // [ESC], or no card file to choose
  const int slot = ChooseTimeCard(program);
  if (slot == 0) return 0;
  program.frame.cardNameInUse = chosen.substr(0, 8);
  return slot;
}

void DeleteTimeCards(Program& program) {
  // The chooser clears the date text on its way out; the card file in use it leaves alone.
  FrameState& frame = program.frame;
  const std::string savedDate = frame.dateText;
  std::string chosen;
  ChooseCardFile(program, chosen, kDeleteCardFile);
  frame.dateText = savedDate;
}

void RunSupervisorChoice(Program& program, int choice) {
  // Each tool returns to the menu when it is done (the settings screen may instead hand over
  // to the cash-register program after a change of the week end).
  switch (choice) {
    case kCorrectTimePunch:
      if (const int slot = ChooseCardToCorrect(program); slot != 0) PunchCorrection(program, slot);
      break;
    case kViewTimeCards:
      ViewTimeCards(program);
      break;
    case kAssociates:
      AssociateEditor(program);
      break;
    case kTransmitTimeCards:
      TransmitCards(program);
      break;
    case kDeleteTimeCards:
      DeleteTimeCards(program);
      break;
    case kStoreSettings:
      StoreTimeSettings(program);
      break;
    default:
      break;
  }
}

void RunSupervisorTools(Program& program) {
  for (;;) {
    const int choice = SupervisorMenu(program);
    if (choice == kQuitSupervisor) return;
    RunSupervisorChoice(program, choice);
  }
}

}  // namespace shiftlog
