#include "store/associate_records.h"
#include "store/data_files.h"
#include "store/register_data.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

constexpr int kSettingsRecord = 456;
constexpr int kFirstIdRecord = 457;
constexpr int kIdRecords = 7;

constexpr int kTimeDisplayByte = 56;
constexpr int kStoreIdByte = 57;
constexpr int kStoreIdLength = 12;
constexpr int kRequireSupervisorByte = 69;
constexpr int kWeekEndByte = 70;

char FlagByte(int flag) {
  return static_cast<char>(flag != 0 ? 1 : 0);
}

// Opens the register data file for update (under its lock when the data path is not empty)
// and reads the settings record.
Status OpenSettings(StoreContext& store, DataFile& file, std::string& settings) {
  const Status opened =
      OpenDataFile(store, file, kRegisterRecordLength, FileMode::kUpdate, kRegisterExtension, "");
  if (!opened) return opened;
  return file.records.Read(kSettingsRecord, settings);
}

}  // namespace

Status SaveSupervisorsAndIds(StoreContext& store, const std::function<void(int record)>& idRecordWritten) {
  const AssociateList& list = store.associates;
  DataFile file;
  std::string buffer;
  Status status = OpenSettings(store, file, buffer);
  if (!status) return status;
  for (int slot = 1; slot <= kSlotCount; ++slot)
    buffer[static_cast<size_t>(slot - 1)] = FlagByte(list.supervisor[slot]);
  buffer[kRequireSupervisorByte] = FlagByte(list.requireSupervisor);
  status = file.records.Write(kSettingsRecord, buffer);
  if (!status) return CloseDataFileAfter(store, file, status);

  // The ID records are not read first: the same buffer is written, so their bytes 64 to 79
  // carry bytes 64 to 79 of the settings record. The cash-register program has always found
  // them that way.
  for (int i = 0; i < kIdRecords; ++i) {
    for (int j = 0; j < 8; ++j) {
      buffer.replace(static_cast<size_t>(8 * j), 8, TextField(list.ids[8 * i + j + 1], 8));
    }
    status = file.records.Write(kFirstIdRecord + i, buffer);
    if (!status) return CloseDataFileAfter(store, file, status);
    if (idRecordWritten) idRecordWritten(kFirstIdRecord + i);
  }
  return CloseDataFileAfter(store, file, Status::Ok());
}

Status SaveStoreSettings(StoreContext& store) {
  const AssociateList& list = store.associates;
  DataFile file;
  std::string buffer;
  Status status = OpenSettings(store, file, buffer);
  if (!status) return status;
  buffer[kTimeDisplayByte] = FlagByte(list.timeDisplay);
  buffer.replace(kStoreIdByte, kStoreIdLength, TextField(list.storeId, kStoreIdLength));
  buffer[kWeekEndByte] = FlagByte(list.weekEnd);
  status = file.records.Write(kSettingsRecord, buffer);
  return CloseDataFileAfter(store, file, status);
}

}  // namespace shiftlog
