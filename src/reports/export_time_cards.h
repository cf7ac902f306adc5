// The time clock's export of the card name in use as TEXT or DATA cards: what the export
// dialog saves and what a transmit leaves in the SEND folder.
#pragma once

#include <string>

#include "frame/program.h"
#include "layouts/export_cards.h"

namespace shiftlog {

// Appends to output the card of slot (allCards false; written even when blank) or every
// non-blank card of slots 1 to 56 in order (allCards true). Each card is read afresh from the
// card file, whose header settings (time display, store ID, week end) become the settings in
// force as with every card read; the caller's card is not touched. The warning beep sounds
// once when a card's ID# held a zero byte. A card that cannot be read ends the export with its
// error; output then holds the cards before it, and is not to be saved.
Status ExportTimeCards(Program& program, bool allCards, ExportKind kind, int slot, std::string& output);

}  // namespace shiftlog
