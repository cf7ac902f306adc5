#include "host/real_printers.h"

#include <cstdlib>
#include <optional>

#include "host/parallel_port.h"

namespace shiftlog {

namespace {

std::string QueueFromEnvironment() {
  const char* queue = std::getenv(kPrinterQueueVariable);
  return queue != nullptr ? std::string(queue) : std::string();
}

}  // namespace

RealPrinterPorts::RealPrinterPorts() : RealPrinterPorts("/dev", "", QueueFromEnvironment(), kTimeLimitMs) {}

RealPrinterPorts::RealPrinterPorts(std::filesystem::path deviceFolder, std::string cupsServer,
                                   std::string queue, int timeLimitMs)
    : deviceFolder_(std::move(deviceFolder)),
      queue_(std::move(cupsServer), std::move(queue), timeLimitMs),
      timeLimitMs_(timeLimitMs) {}

std::filesystem::path RealPrinterPorts::DeviceOf(int port) const {
  return deviceFolder_ / ("lp" + std::to_string(port - 1));
}

Status RealPrinterPorts::Open(int port, std::unique_ptr<PrintJob>& job) {
  if (port < 1 || port > 3) return Status::Failed(kBadFileName);
  Status status;
  job = OpenParallelPort(DeviceOf(port), timeLimitMs_, status);
  if (!job) job = queue_.NewJob();
  return Status::Ok();
}

int RealPrinterPorts::StatusByte(int port, int readyValue) {
  if (port < 1 || port > 3) port = 1;
  if (const std::optional<int> status = ParallelPortStatus(DeviceOf(port), readyValue)) return *status;
  return queue_.StatusByte(readyValue);
}

}  // namespace shiftlog
