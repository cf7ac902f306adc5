// The supervisor screens' changes to a week's card file. Each one is made under the file's
// lock on the records as they stand in the file at that moment, and changes only the bytes of
// what the supervisor changed: a punch another station stored while the screen was open is
// never written over with the copy the screen read earlier.
//
// None of these creates a missing card file: a week's file that went away while a screen was
// open (deleted at another station) is reported as not found, not made again empty.
#pragma once

#include <string>
#include <string_view>

#include "host/run_time_errors.h"
#include "store/store_context.h"
#include "store/time_card.h"

namespace shiftlog {

// One slot's correction: the correction time (5 characters) of (day 0-6, punch slot 1-8) and
// its corrector (the supervisor's slot as number text, blanks for none), with the associate's
// name into the card's name field. card and id come back as the file now holds them; the
// header's settings become the settings in force, as with every card written.
Status CorrectTimeCard(StoreContext& store, TimeCard& card, std::string& id, int slot,
                       std::string_view fileName, std::string_view name, int day, int punchSlot,
                       std::string_view correction, std::string_view corrector);

// The reason of day 0-6 (12 characters), with the associate's name, as CorrectTimeCard.
Status StoreDayReason(StoreContext& store, TimeCard& card, std::string& id, int slot,
                      std::string_view fileName, std::string_view name, int day, std::string_view reason);

// The names and ID numbers of all 56 slots of the associate list into their cards, in one
// update under the lock; punches, corrections, correctors and reasons stay as stored. Every
// card is read before the first is written, so a file that cannot be read is left as it was.
Status StoreNamesAndIds(StoreContext& store, std::string_view fileName);

// The header's time display byte (0) and store ID (bytes 1 to 12); the week-end byte and the
// rest of the header stay as they are. The settings in force are left alone: they are the
// screen's to set.
Status StoreCardHeaderSettings(StoreContext& store, std::string_view fileName, int timeDisplay,
                               std::string_view storeId);

}  // namespace shiftlog
