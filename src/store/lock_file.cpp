#include "store/lock_file.h"

#include <fcntl.h>
#include <sys/file.h>
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

enum class Removal { kRemoved, kNotNow, kFailed };

// Removes the lock file at path if it is still the file `expected`. Several stations come to
// remove the same lock file at about the same moment (those waiting for a dead station's lock
// all run out of patience together), and a plain look-then-remove lets a slow one remove the
// fresh lock file another has just made in its place: two stations would then both hold the
// lock. So the removal is claimed first with an flock on the lock file itself: only the
// station holding the claim removes that file, and no other removes it meanwhile, so the name
// still holds that file when the claim holder looks. A claim held elsewhere means another
// station is removing the file right now (kNotNow). The kernel drops the claim of a station
// that dies, so a claim is never left behind. Where the file cannot be opened or the file
// system has no flock, the file is removed after a look as before.
Removal RemoveLockFileIfStill(const std::filesystem::path& path, const Identity& expected) {
  auto lookThenRemove = [&] {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !(IdentityOf(st) == expected)) return Removal::kNotNow;
    return ::unlink(path.c_str()) == 0 || errno == ENOENT ? Removal::kRemoved : Removal::kFailed;
  };
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? Removal::kNotNow : lookThenRemove();
  struct stat opened {};
  if (::fstat(fd, &opened) != 0 || !(IdentityOf(opened) == expected)) {
    ::close(fd);
    return Removal::kNotNow;  // another lock file by now
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int reason = errno;
    ::close(fd);
    if (reason == EWOULDBLOCK || reason == EINTR) return Removal::kNotNow;
    return lookThenRemove();
  }
  const Removal removal = lookThenRemove();
  ::close(fd);  // drops the claim
  return removal;
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
      const Removal removal = RemoveLockFileIfStill(path, waitedOn);
      // A lock that cannot be removed (a read-only folder, a folder in its place) would keep
      // every station waiting for ever: report it instead.
      if (removal == Removal::kFailed) return Status::Failed(kPathFileAccessError);
      if (removal == Removal::kRemoved) {
        waiting = false;
        waitingSince = SteadyClock::now();
        continue;
      }
      // Another station is removing it, or it was replaced: look again after a short sleep.
      std::this_thread::sleep_for(step);
      step = std::min(step * 2, std::chrono::milliseconds{10});
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
  // A station that found this lock too old may have replaced it by its own, or be doing so
  // right now: leave that alone.
  RemoveLockFileIfStill(path_, Identity{device_, inode_, modifiedSeconds_, modifiedNanoseconds_});
}

}  // namespace shiftlog
