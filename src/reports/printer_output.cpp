#include "reports/printer_output.h"

#include <algorithm>
#include <optional>

#include "host/dos_paths.h"
#include "reports/printer_check.h"

namespace shiftlog {

namespace {

constexpr const char* kAbandonedJobFile = "NULL";

}  // namespace

Status PrinterOutput::OpenDevice() {
  job_.reset();
  if (const int port = ParallelPortOf(deviceName_); port != 0) {
    return program_.host.Printers().Open(port, job_);
  }
  const std::optional<std::filesystem::path> path = ResolveDosPath(program_.host, deviceName_);
  if (!path) return Status::Failed(kBadFileName);
  job_ = NewFilePrintJob(*path);
  return Status::Ok();
}

void PrinterOutput::Open(const std::string& deviceName) {
  deviceName_ = deviceName;
  gaveUp_ = false;
  given_.clear();
  for (;;) {
    const Status status = OpenDevice();
    if (status.ok() && job_) return;
    if (Trap() == kEndPrinting) {
      GiveUp({});
      return;
    }
  }
}

void PrinterOutput::Write(std::string_view bytes) {
  if (gaveUp_) {
    size_t sent = 0;
    if (job_) job_->Write(bytes, sent);  // "NULL" only keeps what is left of a job given up
    return;
  }
  given_.append(bytes);
  for (;;) {
    size_t sent = 0;
    const Status status = job_->Write(bytes, sent);
    // What the device took is printed; a retry goes on with the rest.
    bytes.remove_prefix(std::min(sent, bytes.size()));
    if (status.ok()) return;
    if (Trap() == kEndPrinting) {
      GiveUp(bytes);
      return;
    }
  }
}

void PrinterOutput::Close() {
  if (gaveUp_) {
    if (job_) job_->Finish();
    job_.reset();
    return;
  }
  for (;;) {
    const Status status = job_->Finish();
    if (status.ok()) break;
    if (Trap() == kEndPrinting) {
      // A job handed over whole that did not arrive: none of it was printed.
      GiveUp(given_);
      if (job_) job_->Finish();
      break;
    }
  }
  job_.reset();
}

int PrinterOutput::Trap() {
  int result = kGoAhead;
  do {
    result = CheckPrinter(program_, deviceName_, false);
  } while (result == kCheckAgain);
  if (result != kEndPrinting) program_.frame.errorFlag = 0;
  return result;
}

void PrinterOutput::GiveUp(std::string_view bytes) {
  job_.reset();
  gaveUp_ = true;
  program_.frame.errorFlag = 1;
  // Should "NULL" itself not be writable, the rest of the job is simply dropped: the user has
  // ended printing already.
  if (const std::optional<std::filesystem::path> path = ResolveDosPath(program_.host, kAbandonedJobFile)) {
    job_ = NewFilePrintJob(*path);
    size_t sent = 0;
    job_->Write(bytes, sent);
  }
}

}  // namespace shiftlog
