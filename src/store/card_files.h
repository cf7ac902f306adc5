// The card files of the card folder as a whole: which weeks are stored, and removing one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/run_time_errors.h"
#include "store/store_context.h"

namespace shiftlog {

// Whether name (with its extension) is a card file's: eight digits and ".CLK", the extension
// in any case.
bool IsCardFileName(std::string_view name);

// The names of the card files in the card folder, upper-case ("20121215.CLK"), in ascending
// byte order (oldest week first), each once. Other files and folders are left out. A missing
// or unreadable card folder has none.
std::vector<std::string> ListCardFiles(StoreContext& store);

// Deletes the card file fileName (eight digits, no extension) from the card folder. The file's
// lock file is held meanwhile, as for an update, so a station writing that week's file at this
// moment finishes first. Fails when the file is not there, its lock cannot be taken, or it
// cannot be removed.
Status DeleteCardFile(StoreContext& store, std::string_view fileName);

}  // namespace shiftlog
