#include "store/card_updates.h"

#include <cmath>
#include <functional>
#include <vector>

#include "store/card_record.h"
#include "store/data_files.h"
#include "store/time_card_file.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

Status CheckCard(int slot, std::string_view fileName, int day) {
  if (!ValidCardName(fileName)) return Status::Failed(kBadFileName);
  if (slot < 1 || slot > kSlotCount) return Status::Failed(kBadRecordNumber);
  if (day < 0 || day > 6) return Status::Failed(kSubscriptOutOfRange);
  return Status::Ok();
}

// The card folder's file, open for update under its lock. An existing file only.
Status OpenCardFile(StoreContext& store, DataFile& file, std::string_view fileName) {
  CardFolderScope cardFolder(store);
  return OpenDataFile(store, file, kCardRecordLength, FileMode::kUpdate, kCardExtension, fileName);
}

// Reads the card of slot as stored now, lets change alter its bytes, writes it back, and hands
// the card as written to the caller.
Status UpdateCard(StoreContext& store, TimeCard& card, std::string& id, int slot, std::string_view fileName,
                  const std::function<void(std::string&)>& change) {
  DataFile file;
  Status status = OpenCardFile(store, file, fileName);
  if (!status) return status;
  std::string header;
  std::string record;
  status = file.records.Read(1, header);
  if (status) status = file.records.Read(slot + 1, record);
  if (!status) return CloseDataFileAfter(store, file, status);
  change(record);
  status = CloseDataFileAfter(store, file, file.records.Write(slot + 1, record));
  if (!status) return status;

  ApplyCardHeader(store, DecodeHeader(header, WeekEndRule::kAnyNonZero));
  std::string name;
  DecodeCard(record, card, name, id);
  return Status::Ok();
}

}  // namespace

Status CorrectTimeCard(StoreContext& store, TimeCard& card, std::string& id, int slot,
                       std::string_view fileName, std::string_view name, int day, int punchSlot,
                       std::string_view correction, std::string_view corrector) {
  const Status valid = CheckCard(slot, fileName, day);
  if (!valid) return valid;
  if (punchSlot < 1 || punchSlot > 8) return Status::Failed(kSubscriptOutOfRange);
  // The corrector is stored as its number in one byte; anything else is refused before the
  // file is touched.
  const double number = std::nearbyint(NumericValue(corrector));
  if (!(number >= 0 && number <= 255)) return Status::Failed(kIllegalFunctionCall);
  const char correctorByte = static_cast<char>(static_cast<unsigned char>(number));

  return UpdateCard(store, card, id, slot, fileName, [&](std::string& record) {
    PutField(record, kNameOffset, name, kNameLength);
    PutField(record, TimeFieldOffset(kCorrectionOffset, day, punchSlot), correction, kTimeLength);
    record[static_cast<size_t>(CorrectorOffset(day, punchSlot))] = correctorByte;
  });
}

Status StoreDayReason(StoreContext& store, TimeCard& card, std::string& id, int slot,
                      std::string_view fileName, std::string_view name, int day, std::string_view reason) {
  const Status valid = CheckCard(slot, fileName, day);
  if (!valid) return valid;
  return UpdateCard(store, card, id, slot, fileName, [&](std::string& record) {
    PutField(record, kNameOffset, name, kNameLength);
    PutField(record, kReasonOffset + kReasonLength * day, reason, kReasonLength);
  });
}

Status StoreNamesAndIds(StoreContext& store, std::string_view fileName) {
  if (!ValidCardName(fileName)) return Status::Failed(kBadFileName);
  const AssociateList& list = store.associates;
  DataFile file;
  Status status = OpenCardFile(store, file, fileName);
  if (!status) return status;
  std::vector<std::string> records(kSlotCount + 1);
  for (int slot = 1; slot <= kSlotCount && status; ++slot) {
    std::string& record = records[static_cast<size_t>(slot)];
    status = file.records.Read(slot + 1, record);
    PutField(record, kNameOffset, list.names[static_cast<size_t>(slot)], kNameLength);
    PutField(record, kIdOffset, list.ids[static_cast<size_t>(slot)], kIdLength);
  }
  for (int slot = 1; slot <= kSlotCount && status; ++slot)
    status = file.records.Write(slot + 1, records[static_cast<size_t>(slot)]);
  return CloseDataFileAfter(store, file, status);
}

Status StoreCardHeaderSettings(StoreContext& store, std::string_view fileName, int timeDisplay,
                               std::string_view storeId) {
  if (!ValidCardName(fileName)) return Status::Failed(kBadFileName);
  DataFile file;
  Status status = OpenCardFile(store, file, fileName);
  if (!status) return status;
  std::string header;
  status = file.records.Read(1, header);
  if (!status) return CloseDataFileAfter(store, file, status);
  header[kHeaderTimeDisplay] = static_cast<char>(timeDisplay != 0 ? 1 : 0);
  PutField(header, kHeaderStoreId, storeId, kHeaderStoreIdLength);
  return CloseDataFileAfter(store, file, file.records.Write(1, header));
}

}  // namespace shiftlog
