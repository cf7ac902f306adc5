#include "host/parallel_port.h"

#include <fcntl.h>
#include <linux/lp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "host/clock.h"

namespace shiftlog {

namespace {

class ParallelPortJob : public PrintJob {
 public:
  ParallelPortJob(int fd, int timeLimitMs) : fd_(fd), timeLimitMs_(timeLimitMs) {}
  ~ParallelPortJob() override {
    if (fd_ >= 0) ::close(fd_);
  }
  ParallelPortJob(const ParallelPortJob&) = delete;
  ParallelPortJob& operator=(const ParallelPortJob&) = delete;

  // The port is non-blocking: a printer that is busy, off line or gone answers "try again",
  // and the write waits for it in short sleeps until the time limit has passed.
  Status Write(std::string_view bytes, size_t& sent) override {
    sent = 0;
    if (fd_ < 0) return Status::Failed(kBadFileNumber);
    const std::int64_t deadline = MonotonicMs() + timeLimitMs_;
    int refusals = 0;
    while (sent < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + sent, bytes.size() - sent);
      if (n > 0) {
        sent += static_cast<size_t>(n);
        refusals = 0;
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return Status::Failed(ErrorOf(errno));
      const std::int64_t left = deadline - MonotonicMs();
      if (left <= 0) return Status::Failed(kDeviceTimeout);
      const int wait = static_cast<int>(std::min<std::int64_t>(left, 50));
      // The line printer driver says a port is writable while the printer is still busy;
      // after a second refusal in a row sleep instead, so waiting never spins.
      if (++refusals > 1) {
        ::poll(nullptr, 0, wait);
      } else {
        pollfd ready{fd_, POLLOUT, 0};
        ::poll(&ready, 1, wait);
      }
    }
    return Status::Ok();
  }

  Status Finish() override {
    if (fd_ < 0) return Status::Ok();
    const int fd = fd_;
    fd_ = -1;
    // What was written has gone to the driver; a close that reports trouble changes nothing
    // of that, and a retry would print the card twice.
    ::close(fd);
    return Status::Ok();
  }

 private:
  static int ErrorOf(int errnoValue) {
    // The line printer driver answers ENOSPC for a printer out of paper and EIO for one that
    // is off line or in error.
    if (errnoValue == ENOSPC) return kOutOfPaper;
    if (errnoValue == EIO) return kDeviceFault;
    return RunTimeErrorFromErrno(errnoValue);
  }

  int fd_;
  int timeLimitMs_;
};

}  // namespace

std::unique_ptr<PrintJob> OpenParallelPort(const std::filesystem::path& device, int timeLimitMs,
                                           Status& status) {
  const int fd = ::open(device.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    status = Status::Failed(RunTimeErrorFromErrno(errno));
    return nullptr;
  }
  status = Status::Ok();
  return std::make_unique<ParallelPortJob>(fd, timeLimitMs);
}

std::optional<int> ParallelPortStatus(const std::filesystem::path& device, int readyValue) {
  const int fd = ::open(device.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  int status = 0;
  const bool read = ::ioctl(fd, LPGETSTATUS, &status) == 0;
  ::close(fd);
  if (!read) return readyValue;
  return status & 0xFF;
}

}  // namespace shiftlog
