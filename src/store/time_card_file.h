// The weekly time card file yyyymmdd.CLK in the card folder: a header record and the 800-byte
// cards of slots 1 to 56. Every read or write also takes the file's header settings (time
// display, store ID, week end) into the program-wide settings.
#pragma once

#include <string>
#include <string_view>

#include "frame/program.h"
#include "host/run_time_errors.h"
#include "store/time_card.h"

namespace shiftlog {

inline constexpr int kCardRecordLength = 800;

// Makes sure the card file fileName (8 characters, no extension) exists, creating the week's
// file when it does not, and loads the card of slot into card, name and id. The day reasons go
// into card.reasons. Sounds the warning beep for an ID# holding a zero byte.
Status ReadTimeCard(Program& program, TimeCard& card, std::string& name, int slot, std::string_view fileName,
                    std::string& id);

// Stores one associate's whole card (name, ID#, three rows, day reasons) as record slot + 1.
Status WriteTimeCard(Program& program, const TimeCard& card, const std::string& name, int slot,
                     std::string_view fileName, const std::string& id);

// Stores one punch without losing what another station wrote to the card since it was read:
// under the lock the card record is read again, the punch goes into (day 0-6, punch slot 1-8)
// when that slot is still empty, and the record is written back. card, name and id come back
// as stored.
Status PunchTimeCard(Program& program, TimeCard& card, std::string& name, int slot, std::string_view fileName,
                     std::string& id, int day, int punchSlot, std::string_view punch);

// Makes sure the card folder and the card file fileName in it exist, creating the week's file whole
// (header from the settings in force, a card per slot with the roster's name and ID#) when it
// does not. For screens that update parts of an existing card file.
Status EnsureCardFile(Program& program, std::string_view fileName);

}  // namespace shiftlog
