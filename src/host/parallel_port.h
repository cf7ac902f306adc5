// A parallel port printer device (/dev/lp0 and so on): writes that never wait longer than a
// time limit, and the port's own status register.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "host/printer_device.h"

namespace shiftlog {

// Opens the device for a job. Nothing (and status says why) when it does not exist or cannot
// be opened; the device is opened without waiting for the printer, so an open never hangs.
std::unique_ptr<PrintJob> OpenParallelPort(const std::filesystem::path& device, int timeLimitMs,
                                           Status& status);

// The status register of the port (the LPGETSTATUS request). Nothing when the device does
// not exist or cannot be opened; readyValue when it opens but keeps no status register (a
// device that is no parallel port, which the writes' time limit guards instead).
std::optional<int> ParallelPortStatus(const std::filesystem::path& device, int readyValue);

}  // namespace shiftlog
