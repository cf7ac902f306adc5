#include "support/fake_printers.h"

#include <algorithm>

namespace shiftlog::testing {

namespace {

class FakeJob : public PrintJob {
 public:
  explicit FakeJob(FakePrinterPorts& ports) : ports_(ports) {}
  Status Write(std::string_view bytes, size_t& sent) override {
    sent = 0;
    if (ports_.failWrites > 0) {
      --ports_.failWrites;
      sent = std::min(ports_.bytesBeforeFailure, bytes.size());
      Deliver(bytes.substr(0, sent));
      return Status::Failed(kDeviceTimeout);
    }
    sent = bytes.size();
    Deliver(bytes);
    return Status::Ok();
  }
  Status Finish() override {
    if (ports_.failFinishes > 0) {
      --ports_.failFinishes;
      return Status::Failed(kDeviceUnavailable);
    }
    if (ports_.wholeJobs) ports_.printed += held_;
    held_.clear();
    ++ports_.finishedJobs;
    return Status::Ok();
  }

 private:
  void Deliver(std::string_view bytes) {
    if (ports_.wholeJobs) {
      held_.append(bytes);
    } else {
      ports_.printed.append(bytes);
    }
  }
  FakePrinterPorts& ports_;
  std::string held_;
};

}  // namespace

Status FakePrinterPorts::Open(int port, std::unique_ptr<PrintJob>& job) {
  ++opens;
  lastPort = port;
  if (failOpens > 0) {
    --failOpens;
    return Status::Failed(kDeviceUnavailable);
  }
  job = std::make_unique<FakeJob>(*this);
  return Status::Ok();
}

int FakePrinterPorts::StatusByte(int port, int) {
  ++statusReads;
  lastStatusPort = port;
  return status;
}

}  // namespace shiftlog::testing
