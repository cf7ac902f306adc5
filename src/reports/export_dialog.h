// The EXPORT dialog of the time card viewer ([TAB] or the digit 9): print the card on screen
// or every card with data, or save this card or all of them as a TEXT (.TMT) or DATA (.TMD)
// file under a name the user may edit, in the card folder or on another drive.
#pragma once

#include <array>
#include <string>

#include "frame/program.h"

namespace shiftlog {

// Runs the dialog over the viewer's screen for the card of slot in card file cardName (8
// characters), until "4. Cancel" or [ESC]; the screen is then as it was. The card, name and
// ID# shown are printed as they are; every other card is read from the file, and the caller's
// copies are not touched.
void ExportDialog(Program& program, const TimeCard& card, const std::string& name,
                  const std::array<std::string, 7>& weekDates, const std::string& id,
                  const std::string& cardName, int slot);

}  // namespace shiftlog
