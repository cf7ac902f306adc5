// The associates' records in the register data file: names, PINs, ID numbers, supervisor flags
// and the store settings kept beside them.
#pragma once

#include <functional>

#include "host/run_time_errors.h"
#include "store/record_file.h"
#include "store/store_context.h"

namespace shiftlog {

// Fills the associate list and its settings from the open register data file.
Status LoadAssociateList(StoreContext& store, const RecordFile& registerFile);

// Writes the supervisor flags, the require-supervisor flag and the ID numbers into the register
// data file (opened for update, under its lock). idRecordWritten, when given, hears the number
// of each ID record (457 to 463) once it is written: the associate editor shows them.
Status SaveSupervisorsAndIds(StoreContext& store,
                             const std::function<void(int record)>& idRecordWritten = {});

// Writes the time display flag, the store ID and the week-end flag into the register data file.
Status SaveStoreSettings(StoreContext& store);

}  // namespace shiftlog
