#include "host/drive_test.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>

#include "host/dos_paths.h"

namespace shiftlog {

bool DriveTakesFiles(Host& host, std::string_view drive) {
  const std::optional<std::filesystem::path> test = ResolveDosPath(host, std::string(drive) + "TEST.DAT");
  if (!test) return false;
  // Made exclusively, so a file of that name that belongs to somebody is never emptied or removed.
  const int fd = ::open(test->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno == EEXIST && ::access(test->parent_path().c_str(), W_OK) == 0;
  const bool closed = ::close(fd) == 0;
  const bool removed = ::unlink(test->c_str()) == 0;
  return closed && removed;
}

}  // namespace shiftlog
