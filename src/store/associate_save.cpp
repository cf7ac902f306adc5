#include "console/text_fields.h"
#include "store/associate_records.h"
#include "store/data_files.h"

namespace shiftlog {

namespace {

constexpr int kRegisterRecordLength = 80;
constexpr std::string_view kRegisterExtension = ".TIL";
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
Status OpenSettings(Program& program, DataFile& file, std::string& settings) {
  const Status opened =
      OpenDataFile(program, file, kRegisterRecordLength, FileMode::kUpdate, kRegisterExtension, "");
  if (!opened) return opened;
  return file.records.Read(kSettingsRecord, settings);
}

Status Finish(Program& program, DataFile& file, Status status) {
  const Status closed = CloseDataFile(program, file);
  return status ? closed : status;
}

}  // namespace

Status SaveSupervisorsAndIds(Program& program) {
  const AssociateList& list = program.associates;
  DataFile file;
  std::string buffer;
  Status status = OpenSettings(program, file, buffer);
  if (!status) return status;
  for (int slot = 1; slot <= kSlotCount; ++slot)
    buffer[static_cast<size_t>(slot - 1)] = FlagByte(list.supervisor[slot]);
  buffer[kRequireSupervisorByte] = FlagByte(list.requireSupervisor);
  status = file.records.Write(kSettingsRecord, buffer);
  if (!status) return Finish(program, file, status);

  // The ID records are not read first: the same buffer is written, so their bytes 64 to 79
  // carry bytes 64 to 79 of the settings record. The cash-register program has always found
  // them that way.
  for (int i = 0; i < kIdRecords; ++i) {
    for (int j = 0; j < 8; ++j) {
      buffer.replace(static_cast<size_t>(8 * j), 8, TextField(list.ids[8 * i + j + 1], 8));
    }
    status = file.records.Write(kFirstIdRecord + i, buffer);
    if (!status) return Finish(program, file, status);
  }
  return Finish(program, file, Status::Ok());
}

Status SaveStoreSettings(Program& program) {
  const AssociateList& list = program.associates;
  DataFile file;
  std::string buffer;
  Status status = OpenSettings(program, file, buffer);
  if (!status) return status;
  buffer[kTimeDisplayByte] = FlagByte(list.timeDisplay);
  buffer.replace(kStoreIdByte, kStoreIdLength, TextField(list.storeId, kStoreIdLength));
  buffer[kWeekEndByte] = FlagByte(list.weekEnd);
  status = file.records.Write(kSettingsRecord, buffer);
  return Finish(program, file, status);
}

}  // namespace shiftlog
