#include "store/card_file_snapshot.h"

#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <optional>

#include "host/dos_paths.h"
#include "store/lock_file.h"
#include "store/record_file.h"
#include "store/time_card_file.h"

namespace shiftlog {

namespace {

constexpr int kCardFileLength = kCardRecordLength * kCardFileRecords;

// Holds back SIGINT, SIGTERM, SIGHUP and SIGQUIT for its life; they arrive once it is gone.
class EndSignalsHeld {
 public:
  EndSignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&held, signal);
    active_ = ::pthread_sigmask(SIG_BLOCK, &held, &before_) == 0;
  }
  EndSignalsHeld(const EndSignalsHeld&) = delete;
  EndSignalsHeld& operator=(const EndSignalsHeld&) = delete;
  ~EndSignalsHeld() {
    if (active_) ::pthread_sigmask(SIG_SETMASK, &before_, nullptr);
  }

 private:
  sigset_t before_{};
  bool active_ = false;
};

}  // namespace

CardHeader CardFileSnapshot::Header() const {
  return DecodeHeader(std::string_view(bytes).substr(0, kCardRecordLength), WeekEndRule::kOnlyOne);
}

DecodedCard CardFileSnapshot::Card(int slot, TimeCard& card, std::string& name, std::string& id) const {
  const size_t offset = static_cast<size_t>(slot) * kCardRecordLength;
  const std::string_view record =
      offset < bytes.size() ? std::string_view(bytes).substr(offset, kCardRecordLength) : std::string_view();
  return DecodeCard(record, card, name, id);
}

std::string CardFileDosName(const StoreContext& store, std::string_view fileName) {
  return store.dataPath + store.configName + "\\" + std::string(fileName) + std::string(kCardExtension);
}

Status ReadCardFileSnapshot(StoreContext& store, std::string_view fileName, CardFileSnapshot& snapshot) {
  if (!ValidCardName(fileName) || store.configName.empty()) return Status::Failed(kBadFileName);
  const std::string folder = store.dataPath + store.configName + "\\";
  const std::optional<std::filesystem::path> path =
      ResolveDosPath(store.host, CardFileDosName(store, fileName));
  const std::optional<std::filesystem::path> lockPath =
      ResolveDosPath(store.host, folder + LockFileName(fileName, kCardExtension));
  if (!path || !lockPath) return Status::Failed(kDiskNotReady);
  // A week without a card file is told before any lock file is made for it.
  struct stat st {};
  if (::stat(path->c_str(), &st) != 0) return Status::Failed(RunTimeErrorFromErrno(errno));

  EndSignalsHeld signalsHeld;
  LockFile lock;
  const Status locked = lock.Take(*lockPath);
  if (!locked) return locked;
  // The whole file as one record: a single read, zero bytes past its end.
  RecordFile file;
  Status status = file.Open(*path, kCardFileLength, false, false);
  if (status) status = file.Read(1, snapshot.bytes);
  const Status closed = file.Close();
  lock.Release();
  if (!status) return status;
  return closed;
}

}  // namespace shiftlog
