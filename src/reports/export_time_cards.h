// The time clock's export of the card name in use as TEXT or DATA cards: what the export
// dialog saves and what a transmit leaves in the SEND folder.
#pragma once

#include <functional>
#include <string>

#include "frame/program.h"
#include "layouts/export_cards.h"

namespace shiftlog {

// Hands to each the card of slot (allCards false; even when blank) or every non-blank card of
// slots 1 to 56 in order (allCards true), stopping early when each returns false. Each card is
// read afresh from the card file, whose header settings (time display, store ID, week end)
// become the settings in force as with every card read; the caller's card is not touched. The
// warning beep sounds once when a card's ID# held a zero byte. A card that cannot be read ends
// the walk with its error.
Status ForEachExportedCard(Program& program, bool allCards, int slot,
                           const std::function<bool(const PrintedCard&)>& each);

// Appends to output the cards ForEachExportedCard walks, as TEXT or DATA. A card that cannot be
// read ends the export with its error; output then holds the cards before it, and is not to be
// saved.
Status ExportTimeCards(Program& program, bool allCards, ExportKind kind, int slot, std::string& output);

}  // namespace shiftlog
