#include "store/lock_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>
#include <utility>

#include "host/file_io.h"

namespace shiftlog {

namespace {

using SteadyClock = std::chrono::steady_clock;

// What tells one lock file from the next one made under the same name: a new file may get
// the old inode number back, but not also the same modification time.
struct Identity {
  dev_t device = 0;
  ino_t inode = 0;
  time_t seconds = 0;
  long nanoseconds = 0;
  bool operator==(const Identity&) const = default;
};

Identity IdentityOf(const struct stat& st) {
  return {st.st_dev, st.st_ino, st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
}

// A lock file whose folder is missing is a missing path, as the suite reports it.
int LockError(int errnoValue) {
  return errnoValue == ENOENT ? kPathNotFound : RunTimeErrorFromErrno(errnoValue);
}

}  // namespace

std::string LockFileName(std::string_view name, std::string_view extension) {
  std::string lockName = "_";
  if (name.size() > 1) lockName += name.substr(1, 7);
  lockName += extension;
  return lockName;
}

LockFile::LockFile(LockFile&& other) noexcept
    : path_(std::move(other.path_)),
      device_(other.device_),
      inode_(other.inode_),
      modifiedSeconds_(other.modifiedSeconds_),
      modifiedNanoseconds_(other.modifiedNanoseconds_),
      held_(std::exchange(other.held_, false)) {}

LockFile& LockFile::operator=(LockFile&& other) noexcept {
  if (this != &other) {
    Release();
    path_ = std::move(other.path_);
    device_ = other.device_;
    inode_ = other.inode_;
    modifiedSeconds_ = other.modifiedSeconds_;
    modifiedNanoseconds_ = other.modifiedNanoseconds_;
    held_ = std::exchange(other.held_, false);
  }
  return *this;
}

Status LockFile::Take(const std::filesystem::path& path, std::chrono::milliseconds patience) {
  Release();
  path_ = path;
  const SteadyClock::time_point noted = SteadyClock::now();
  SteadyClock::time_point waitingSince = noted;
  Identity waitedOn;
  bool waiting = false;
  std::chrono::milliseconds step{1};
  for (;;) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      Status written = WriteAll(fd, kLockFileContent);
      struct stat st {};
      if (written && ::fstat(fd, &st) != 0) written = Status::Failed(RunTimeErrorFromErrno(errno));
      if (::close(fd) != 0 && written) written = Status::Failed(RunTimeErrorFromErrno(errno));
      if (!written) {
        ::unlink(path.c_str());
        return written;
      }
      device_ = st.st_dev;
      inode_ = st.st_ino;
      modifiedSeconds_ = st.st_mtim.tv_sec;
      modifiedNanoseconds_ = st.st_mtim.tv_nsec;
      held_ = true;
      return Status::Ok();
    }
    if (errno == EINTR) continue;
    if (errno != EEXIST) return Status::Failed(LockError(errno));

    // Another station holds the file. Watch that one lock file: when it goes, try again at
    // once; when a different one appears, that station is alive and gets its own patience.
    // lstat: a lock name that is a dangling link exists for open() but not for stat(), and
    // would have this loop retry without a pause for ever.
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
      if (errno == ENOENT) continue;
      return Status::Failed(LockError(errno));
    }
    const Identity seen = IdentityOf(st);
    const SteadyClock::time_point now = SteadyClock::now();
    if (!waiting || !(seen == waitedOn)) {
      if (waiting) waitingSince = now;
      waitedOn = seen;
      waiting = true;
    }
    if (now - waitingSince >= patience) {
      // The same lock file for the whole wait: its station is gone. Remove it only if it is
      // still that file, then race for the lock like everyone else.
      struct stat again {};
      if (::lstat(path.c_str(), &again) == 0 && IdentityOf(again) == waitedOn &&
          ::unlink(path.c_str()) != 0 && errno != ENOENT) {
        // A lock that cannot be removed (a read-only folder, a folder in its place) would keep
        // every station waiting for ever: report it instead.
        return Status::Failed(kPathFileAccessError);
      }
      waiting = false;
      waitingSince = SteadyClock::now();
      continue;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(patience - (now - waitingSince));
    std::this_thread::sleep_for(std::max(std::chrono::milliseconds{1}, std::min(step, left)));
    step = std::min(step * 2, std::chrono::milliseconds{10});
  }
}

void LockFile::Release() {
  if (!held_) return;
  held_ = false;
  struct stat st {};
  // A station that found this lock too old has replaced it by its own: leave that one alone.
  if (::stat(path_.c_str(), &st) != 0) return;
  const Identity mine{device_, inode_, modifiedSeconds_, modifiedNanoseconds_};
  if (IdentityOf(st) == mine) ::unlink(path_.c_str());
}

}  // namespace shiftlog
