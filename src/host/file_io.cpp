#include "host/file_io.h"

#include <unistd.h>

#include <cerrno>

namespace shiftlog {

Status WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Status::Failed(RunTimeErrorFromErrno(errno));
    }
    done += static_cast<size_t>(n);
  }
  return Status::Ok();
}

}  // namespace shiftlog
