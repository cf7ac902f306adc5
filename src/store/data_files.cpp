#include "store/data_files.h"

#include <cerrno>
#include <optional>

#include "host/dos_paths.h"

namespace shiftlog {

namespace fs = std::filesystem;

namespace {

// The run-time's number for a failed text file step, from the reason the system gives.
Status SystemFailure() {
  const int reason = errno;
  return Status::Failed(reason != 0 ? RunTimeErrorFromErrno(reason) : kPathFileAccessError);
}

}  // namespace

DataFile::~DataFile() {
  records.Close();
  if (text.is_open()) text.close();
  lock.Release();
}

Status OpenDataFile(StoreContext& store, DataFile& file, int recordLength, FileMode mode,
                    std::string_view extension, std::string_view name) {
  if (file.records.IsOpen() || file.text.is_open() || file.lock.Held())
    return Status::Failed(kFileAlreadyOpen);
  const std::string base = name.empty() ? store.configName : std::string(name);
  if (base.empty()) return Status::Failed(kBadFileName);
  const std::string& dataPath = store.dataPath;
  const std::optional<fs::path> path = ResolveDosPath(store.host, dataPath + base + std::string(extension));
  if (!path) return Status::Failed(kDiskNotReady);
  file.mode = mode;
  file.path = *path;
  file.lockPath.clear();

  switch (mode) {
    case FileMode::kRead:
      return file.records.Open(*path, recordLength, false, false);
    case FileMode::kCreateText:
      errno = 0;
      file.text.clear();
      file.text.open(*path, std::ios::out | std::ios::trunc | std::ios::binary);
      return file.text.is_open() ? Status::Ok() : SystemFailure();
    case FileMode::kReadText:
      errno = 0;
      file.text.clear();
      file.text.open(*path, std::ios::in | std::ios::binary);
      return file.text.is_open() ? Status::Ok() : SystemFailure();
    case FileMode::kUpdate: {
      if (!dataPath.empty()) {
        const std::optional<fs::path> lockPath =
            ResolveDosPath(store.host, dataPath + LockFileName(base, extension));
        if (!lockPath) return Status::Failed(kDiskNotReady);
        const Status locked = file.lock.Take(*lockPath, file.lockPatience);
        if (!locked) return locked;
        file.lockPath = *lockPath;
      }
      const Status opened = file.records.Open(*path, recordLength, true, false);
      if (!opened) {
        file.lock.Release();
        file.lockPath.clear();
      }
      return opened;
    }
  }
  return Status::Failed(kBadFileMode);
}

Status CloseDataFile(StoreContext& /*store*/, DataFile& file) {
  Status result;
  if (file.records.IsOpen()) {
    // An update is on the disk before the lock goes, so the next station reads it even after a
    // power failure here.
    if (file.mode == FileMode::kUpdate) result = file.records.Sync();
    const Status closed = file.records.Close();
    if (result.ok()) result = closed;
  }
  if (file.text.is_open()) {
    errno = 0;
    file.text.close();
    if (file.text.fail() && result.ok()) result = SystemFailure();
  }
  file.lock.Release();
  file.lockPath.clear();
  return result;
}

Status CloseDataFileAfter(StoreContext& store, DataFile& file, Status status) {
  const Status closed = CloseDataFile(store, file);
  return status ? closed : status;
}

std::string EnterCardFolder(StoreContext& store) {
  std::string saved = store.dataPath;
  store.dataPath = saved + store.configName + "\\";
  return saved;
}

}  // namespace shiftlog
