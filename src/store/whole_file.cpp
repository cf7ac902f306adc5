#include "store/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "host/file_io.h"

namespace shiftlog {

namespace fs = std::filesystem;

namespace {

Status Failure(int errnoValue) {
  return Status::Failed(RunTimeErrorFromErrno(errnoValue));
}

Status WriteAndSync(int fd, std::string_view bytes) {
  if (Status written = WriteAll(fd, bytes); !written) return written;
  if (::fsync(fd) != 0) return Failure(errno);
  return Status::Ok();
}

// The new name entry itself must reach the disk too, or a power failure could lose the file.
void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)::fsync(fd);
  ::close(fd);
}

bool Exists(const fs::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

Status CreateFileWhole(const fs::path& target, std::string_view bytes, bool& alreadyThere) {
  alreadyThere = false;
  if (Exists(target)) {
    alreadyThere = true;
    return Status::Ok();
  }
  // The temporary name carries the process number, so two stations never share one, and an
  // extension no listing of card or data files picks up.
  const fs::path folder = target.parent_path();
  const fs::path temporary =
      folder / (target.filename().string() + "." + std::to_string(::getpid()) + ".new");
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0 && errno == EEXIST) {
    // Left by an earlier process of the same number that died here.
    ::unlink(temporary.c_str());
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  }
  if (fd < 0) return Failure(errno);
  Status written = WriteAndSync(fd, bytes);
  if (::close(fd) != 0 && written.ok()) written = Failure(errno);
  if (!written) {
    ::unlink(temporary.c_str());
    return written;
  }

  // link() puts the file in place only when no file of that name exists, so a station that
  // made the file first keeps its file and whatever was written to it since.
  if (::link(temporary.c_str(), target.c_str()) == 0) {
    ::unlink(temporary.c_str());
  } else if (errno == EEXIST) {
    ::unlink(temporary.c_str());
    alreadyThere = true;
    return Status::Ok();
  } else if (Exists(target)) {
    // A folder without hard links (a network share): fall back to rename, but never over a
    // file that is there. Callers hold the file's lock, so nobody makes it meanwhile.
    ::unlink(temporary.c_str());
    alreadyThere = true;
    return Status::Ok();
  } else if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const Status failed = Failure(errno);
    ::unlink(temporary.c_str());
    return failed;
  }
  SyncFolder(folder);
  return Status::Ok();
}

}  // namespace shiftlog
