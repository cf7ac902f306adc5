#include "store/time_card_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <optional>
#include <system_error>

#include "host/dos_paths.h"
#include "store/card_record.h"
#include "store/data_files.h"
#include "store/lock_file.h"
#include "store/punch_slots.h"
#include "store/whole_file.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace fs = std::filesystem;

namespace {

bool ValidSlot(int slot) {
  return slot >= 1 && slot <= kSlotCount;
}

Status CheckCardArguments(int slot, std::string_view fileName) {
  if (!ValidCardName(fileName)) return Status::Failed(kBadFileName);
  if (!ValidSlot(slot)) return Status::Failed(kBadRecordNumber);
  return Status::Ok();
}

// The card folder is made whenever a card is read; an existing folder is no error, and a
// folder that cannot be made shows up as the failure of the next step.
void MakeCardFolder(StoreContext& store) {
  const std::optional<fs::path> folder = ResolveDosPath(store.host, store.dataPath + store.configName);
  if (!folder) return;
  std::error_code ignored;
  fs::create_directory(*folder, ignored);
}

std::string NewCardFileBytes(const StoreContext& store) {
  const AssociateList& list = store.associates;
  std::string bytes = EncodeHeader(CardHeader{list.timeDisplay, list.storeId, list.weekEnd});
  bytes.reserve(static_cast<size_t>(kCardRecordLength) * kCardFileRecords);
  for (int slot = 1; slot <= kSlotCount; ++slot) bytes += NewCardRecord(list.names[slot], list.ids[slot]);
  return bytes;
}

// Opens the card file for update under its lock, making the week's file first if it is
// missing, and takes its header settings into the store.
Status OpenCardForUpdate(StoreContext& store, DataFile& file, std::string_view fileName) {
  const Status made = EnsureCardFile(store, fileName);
  if (!made) return made;
  CardFolderScope cardFolder(store);
  const Status opened =
      OpenDataFile(store, file, kCardRecordLength, FileMode::kUpdate, kCardExtension, fileName);
  if (!opened) return opened;
  std::string header;
  const Status read = file.records.Read(1, header);
  if (!read) return read;
  ApplyCardHeader(store, DecodeHeader(header, WeekEndRule::kAnyNonZero));
  return Status::Ok();
}

}  // namespace

bool ValidCardName(std::string_view name) {
  return !name.empty() && name.find_first_of(std::string_view("\\/:\0", 4)) == std::string_view::npos &&
         name != "." && name != "..";
}

void ApplyCardHeader(StoreContext& store, const CardHeader& header) {
  store.associates.timeDisplay = header.timeDisplay;
  store.associates.storeId = header.storeId;
  store.associates.weekEnd = header.weekEnd;
}

Status EnsureCardFile(StoreContext& store, std::string_view fileName) {
  if (!ValidCardName(fileName)) return Status::Failed(kBadFileName);
  MakeCardFolder(store);
  CardFolderScope cardFolder(store);
  const std::string& dataPath = store.dataPath;
  const std::string dosName = dataPath + std::string(fileName) + std::string(kCardExtension);
  std::optional<fs::path> path = ResolveDosPath(store.host, dosName);
  if (!path) return Status::Failed(kDiskNotReady);
  struct stat st {};
  if (::lstat(path->c_str(), &st) == 0) return Status::Ok();
  if (errno != ENOENT) return Status::Failed(RunTimeErrorFromErrno(errno));

  // Made under the file's lock, so that two stations starting the week at the same moment
  // make it once; the second finds it there.
  const std::optional<fs::path> lockPath =
      ResolveDosPath(store.host, dataPath + LockFileName(fileName, kCardExtension));
  if (!lockPath) return Status::Failed(kDiskNotReady);
  LockFile lock;
  const Status locked = lock.Take(*lockPath);
  if (!locked) return locked;
  path = ResolveDosPath(store.host, dosName);  // finds a file another station made meanwhile
  if (!path) return Status::Failed(kDiskNotReady);
  bool alreadyThere = false;
  return CreateFileWhole(*path, NewCardFileBytes(store), alreadyThere);
}

Status ReadTimeCard(StoreContext& store, TimeCard& card, std::string& name, int slot,
                    std::string_view fileName, std::string& id, CardReadNotes* notes) {
  const Status valid = CheckCardArguments(slot, fileName);
  if (!valid) return valid;
  const Status made = EnsureCardFile(store, fileName);
  if (!made) return made;

  CardFolderScope cardFolder(store);
  DataFile file;
  Status status = OpenDataFile(store, file, kCardRecordLength, FileMode::kRead, kCardExtension, fileName);
  if (!status) return status;
  std::string header;
  status = file.records.Read(1, header);
  if (!status) return status;
  ApplyCardHeader(store, DecodeHeader(header, WeekEndRule::kOnlyOne));
  std::string record;
  status = file.records.Read(slot + 1, record);
  if (!status) return status;
  status = CloseDataFile(store, file);
  const bool idHadZeroByte = DecodeCard(record, card, name, id).idHadZeroByte;
  if (notes != nullptr) notes->idHadZeroByte = idHadZeroByte;
  return status;
}

Status WriteTimeCard(StoreContext& store, const TimeCard& card, const std::string& name, int slot,
                     std::string_view fileName, const std::string& id) {
  const Status valid = CheckCardArguments(slot, fileName);
  if (!valid) return valid;
  // Encoded before the lock is taken: a card that cannot be stored changes nothing.
  std::string record;
  const Status encoded = EncodeCard(card, name, id, record);
  if (!encoded) return encoded;

  DataFile file;
  const Status opened = OpenCardForUpdate(store, file, fileName);
  if (!opened) return opened;
  // The close puts the record on the disk and removes the lock file, on a failed write too.
  return CloseDataFileAfter(store, file, file.records.Write(slot + 1, record));
}

Status PunchTimeCard(StoreContext& store, TimeCard& card, std::string& name, int slot,
                     std::string_view fileName, std::string& id, int day, int punchSlot,
                     std::string_view punch, int* storedSlot) {
  if (storedSlot != nullptr) *storedSlot = 0;
  const Status valid = CheckCardArguments(slot, fileName);
  if (!valid) return valid;
  if (day < 0 || day > 6 || punchSlot < 1 || punchSlot > 8) return Status::Failed(kSubscriptOutOfRange);

  DataFile file;
  Status status = OpenCardForUpdate(store, file, fileName);
  if (!status) return status;
  // The card as stored now: another station may have punched or corrected it since this
  // station read it, and that must not be written over.
  std::string stored;
  status = file.records.Read(slot + 1, stored);
  if (!status) return status;
  TimeCard current;
  std::string storedName;
  std::string storedId;
  DecodeCard(stored, current, storedName, storedId);
  // The associate did punch: a slot taken meanwhile moves the punch on, it never drops it.
  const int target =
      IsEmptyCardTime(current.Text(kPunchRow, day, punchSlot)) ? punchSlot : FreePunchSlot(current, day);
  if (target != 0) {
    current.Text(kPunchRow, day, target) = TextField(punch, kTimeLength);
    std::string record;
    status = EncodeCard(current, storedName, storedId, record);
    if (!status) return status;
    status = CloseDataFileAfter(store, file, file.records.Write(slot + 1, record));
    if (!status) return status;
  } else {
    status = CloseDataFile(store, file);
    if (!status) return status;
  }
  card = std::move(current);
  name = std::move(storedName);
  id = std::move(storedId);
  if (storedSlot != nullptr) *storedSlot = target;
  return Status::Ok();
}

}  // namespace shiftlog
