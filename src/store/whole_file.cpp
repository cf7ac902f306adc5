#include "store/whole_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

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

constexpr std::string_view kTemporaryExtension = ".new";

// This machine's name as it goes into temporary names: letters, digits and '-' only, so that
// the name splits back at its dots.
const std::string& MachineName() {
  static const std::string name = [] {
    char buffer[256] = {};
    std::string kept;
    if (::gethostname(buffer, sizeof buffer - 1) == 0) {
      for (const char* c = buffer; *c != '\0' && kept.size() < 32; ++c) {
        const bool plain = (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9');
        kept += plain ? *c : '-';
      }
    }
    return kept.empty() ? std::string("station") : kept;
  }();
  return name;
}

// The machine and process a temporary name tells: "<target>.<machine>.<pid>.new".
struct TemporaryOwner {
  std::string machine;
  long pid = 0;
};
std::optional<TemporaryOwner> OwnerOf(std::string_view name) {
  if (name.size() <= kTemporaryExtension.size() ||
      name.substr(name.size() - kTemporaryExtension.size()) != kTemporaryExtension) {
    return std::nullopt;
  }
  name.remove_suffix(kTemporaryExtension.size());
  const size_t pidDot = name.rfind('.');
  if (pidDot == std::string_view::npos) return std::nullopt;
  const std::string_view digits = name.substr(pidDot + 1);
  if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string_view::npos)
    return std::nullopt;
  TemporaryOwner owner;
  for (char d : digits) owner.pid = owner.pid * 10 + (d - '0');
  name = name.substr(0, pidDot);
  const size_t machineDot = name.rfind('.');
  if (machineDot != std::string_view::npos) owner.machine = std::string(name.substr(machineDot + 1));
  return owner;
}

bool ProcessRuns(long pid) {
  if (pid <= 0) return true;  // no process of ours: only its age can tell
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

}  // namespace

std::string TemporaryNameEnding(long pid) {
  return "." + MachineName() + "." + std::to_string(pid) + std::string(kTemporaryExtension);
}

int SweepStaleTemporaries(const fs::path& folder) {
  int removed = 0;
  const time_t now = ::time(nullptr);
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const std::optional<TemporaryOwner> owner = OwnerOf(name);
    if (!owner) continue;
    struct stat st {};
    if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    const bool gone = owner->machine == MachineName() && !ProcessRuns(owner->pid);
    const bool old = now - st.st_mtime >= kStaleTemporaryAgeSeconds;
    if ((gone || old) && ::unlink(it->path().c_str()) == 0) ++removed;
  }
  return removed;
}

Status CreateFileWhole(const fs::path& target, std::string_view bytes, bool& alreadyThere) {
  alreadyThere = false;
  if (Exists(target)) {
    alreadyThere = true;
    return Status::Ok();
  }
  // The temporary name carries the machine and the process number, so two stations never
  // share one and a later creation can tell a dead station's file, and an extension no listing
  // of card or data files picks up.
  const fs::path folder = target.parent_path();
  SweepStaleTemporaries(folder);
  const fs::path temporary = folder / (target.filename().string() + TemporaryNameEnding(::getpid()));
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
