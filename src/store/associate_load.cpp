// Loading the associate list from the register data file at start-up.
#include <cstdint>
#include <string>

#include "store/associate_records.h"

namespace shiftlog {

namespace {

constexpr int kFirstNameRecord = 11;
constexpr int kSecondGroupOffset = 291;  // the second clerk group's records follow 291 records later
constexpr int kSlotsPerGroup = 28;
constexpr int kNameLength = 24;
constexpr int kIdLength = 8;
constexpr int kSettingsRecord = 456;
constexpr int kFirstIdRecord = 457;
constexpr std::int32_t kHighestPin = 100000000;

std::int32_t LittleEndianInt(const std::string& record, int offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(record[offset + i]);
  return static_cast<std::int32_t>(value);
}

// PINs of count slots from first on, from the integers at the start of record.
Status ReadPins(AssociateList& list, const RecordFile& file, int record, int first, int count) {
  std::string bytes;
  if (Status status = file.Read(record, bytes); !status) return status;
  for (int i = 0; i < count; ++i) {
    const std::int32_t pin = LittleEndianInt(bytes, 4 * i);
    list.pins[first + i] = pin > kHighestPin ? 0 : pin;
  }
  return Status::Ok();
}

}  // namespace

Status LoadAssociateList(StoreContext& store, const RecordFile& registerFile) {
  AssociateList& list = store.associates;
  std::string bytes;

  for (int group = 0; group <= 1; ++group) {
    for (int i = 0; i <= 9; ++i) {
      if (Status status = registerFile.Read(kFirstNameRecord + kSecondGroupOffset * group + i, bytes);
          !status) {
        return status;
      }
      for (int j = 1; j <= 3; ++j) {
        const int k = 3 * i + j;
        if (k <= kSlotsPerGroup)
          list.names[kSlotsPerGroup * group + k] = bytes.substr(kNameLength * (j - 1), kNameLength);
      }
    }
  }

  struct PinRecord {
    int record, first, count;
  };
  // Record 281 holds three more integers after the PINs; they mean nothing to the time clock.
  static constexpr PinRecord kPinRecords[] = {{280, 1, 20}, {281, 21, 8}, {313, 29, 20}, {314, 49, 8}};
  for (const PinRecord& pins : kPinRecords) {
    if (Status status = ReadPins(list, registerFile, pins.record, pins.first, pins.count); !status)
      return status;
  }

  if (Status status = registerFile.Read(kSettingsRecord, bytes); !status) return status;
  list.timeDisplay = bytes[56] != 0 ? 1 : 0;
  list.requireSupervisor = bytes[69] != 0 ? 1 : 0;
  list.weekEnd = bytes[70] != 0 ? 1 : 0;
  list.storeId = bytes.substr(57, 12);
  if (list.storeId.find('\0') != std::string::npos) list.storeId = std::string(12, ' ');
  for (int n = 1; n <= kSlotCount; ++n) list.supervisor[n] = bytes[n - 1] != 0 ? 1 : 0;
  NoteSupervisors(list);

  for (int i = 0; i <= 6; ++i) {
    if (Status status = registerFile.Read(kFirstIdRecord + i, bytes); !status) return status;
    for (int j = 1; j <= 8; ++j) {
      std::string id = bytes.substr(kIdLength * (j - 1), kIdLength);
      for (char& c : id) {
        if (c == '\0') c = ' ';
      }
      list.ids[8 * i + j] = id;
    }
  }
  return Status::Ok();
}

}  // namespace shiftlog
