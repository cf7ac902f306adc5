// The weekly time card file yyyymmdd.CLK in the card folder: a header record and the 800-byte
// cards of slots 1 to 56. Every read or write also takes the file's header settings (time
// display, store ID, week end) into the store's settings in force.
#pragma once

#include <string>
#include <string_view>

#include "host/run_time_errors.h"
#include "store/card_record.h"
#include "store/store_context.h"
#include "store/time_card.h"

namespace shiftlog {

inline constexpr int kCardRecordLength = 800;
inline constexpr std::string_view kCardExtension = ".CLK";

// Card file names come from the clock or a listing of the card folder; anything that could
// lead out of that folder (empty, ".", "..", a backslash, slash, colon or zero byte) is refused.
bool ValidCardName(std::string_view name);

// Every card file read or written brings its own settings (time display, store ID, week end)
// into the store's settings in force.
void ApplyCardHeader(StoreContext& store, const CardHeader& header);

// What a card read noticed that the screen showing the card warns about with the beep.
struct CardReadNotes {
  bool idHadZeroByte = false;  // the ID# held a zero byte: a card written by a damaged program
};

// Makes sure the card file fileName (8 characters, no extension) exists, creating the week's
// file when it does not, and loads the card of slot into card, name and id. The day reasons go
// into card.reasons.
Status ReadTimeCard(StoreContext& store, TimeCard& card, std::string& name, int slot,
                    std::string_view fileName, std::string& id, CardReadNotes* notes = nullptr);

// Stores one associate's whole card (name, ID#, three rows, day reasons) as record slot + 1.
Status WriteTimeCard(StoreContext& store, const TimeCard& card, const std::string& name, int slot,
                     std::string_view fileName, const std::string& id);

// Stores one punch without losing what another station wrote to the card since it was read:
// under the lock the card record is read again and the punch goes into (day 0-6, punch slot
// 1-8) when that slot is still empty. When another station filled it meanwhile (the same
// associate at two stations, or a screen left open), the punch goes into the day's free slot
// instead (FreePunchSlot); only when all 8 slots of the day are filled is it refused. card,
// name and id come back as stored; storedSlot, when given, tells the slot the punch went into,
// 0 when it was refused.
Status PunchTimeCard(StoreContext& store, TimeCard& card, std::string& name, int slot,
                     std::string_view fileName, std::string& id, int day, int punchSlot,
                     std::string_view punch, int* storedSlot = nullptr);

// Makes sure the card folder and the card file fileName in it exist, creating the week's file whole
// (header from the settings in force, a card per slot with the roster's name and ID#) when it
// does not. For screens that update parts of an existing card file.
Status EnsureCardFile(StoreContext& store, std::string_view fileName);

}  // namespace shiftlog
