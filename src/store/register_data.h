// What a front end reads from the register data file (configuration name + ".TIL") before it
// can find the card files: the data path in the local copy in the store's folder, then the
// associates and the store settings from the shared copy in that data path. The time clock's
// start-up reads the same records among its other settings; the back-office command line reads
// only these, and never creates or writes the file.
#pragma once

#include <string>
#include <string_view>

#include "host/run_time_errors.h"
#include "store/store_context.h"

namespace shiftlog {

inline constexpr int kRegisterRecordLength = 80;
inline constexpr std::string_view kRegisterExtension = ".TIL";
inline constexpr int kDataPathRecord = 8;

// The data path held in record 8: its first 40 characters without surrounding blanks; empty
// when they hold a zero byte (a record the file does not have).
std::string DataPathOf(std::string_view record);

// Record number of the local register data file (configuration name + ".TIL" in the current
// folder). The file is only read: a missing one is File not found.
Status ReadLocalRegisterRecord(StoreContext& store, int number, std::string& record);

// Sets the store's data path from record 8 of the local register data file (configuration
// name + ".TIL" in the current folder). The file is only read: a missing one is File not found.
Status ReadLocalDataPath(StoreContext& store);

// Loads the associate list and its settings from the shared register data file in the data
// path, or from the local one when the data path is empty. Only read, never created.
Status LoadRegisterAssociates(StoreContext& store);

}  // namespace shiftlog
