#include "host/whole_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "host/file_io.h"

namespace shiftlog {

Status WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path folder =
      path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  std::string temporary = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return Status::Failed(RunTimeErrorFromErrno(errno));
  // mkstemp makes the file private; the suite's files are shared by the store's stations.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);

  Status status = WriteAll(fd, bytes);
  if (status.ok() && ::fsync(fd) != 0) status = Status::Failed(RunTimeErrorFromErrno(errno));
  if (::close(fd) != 0 && status.ok()) status = Status::Failed(RunTimeErrorFromErrno(errno));
  if (status.ok() && ::rename(temporary.c_str(), path.c_str()) != 0) {
    status = Status::Failed(RunTimeErrorFromErrno(errno));
  }
  if (!status.ok()) ::unlink(temporary.c_str());
  return status;
}

}  // namespace shiftlog
