// The printer devices the suite names, as this host provides them. "LPT1:" to "LPT3:" are the
// host's printing system (a parallel port, or a spooler queue: see RealPrinterPorts); every
// other name is a file (the print files, and "NULL" where an abandoned job goes). The printed
// lines reach a device through a PrintJob; nothing here draws or asks the user anything.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "host/run_time_errors.h"

namespace shiftlog {

// The status byte of a parallel printer switched off line: not busy, acknowledge high, paper
// present, and the "not selected" and "error" lines signalled (both are active low, so their
// bits 4 and 3 read 0). Given for a spooler queue that cannot take a job now.
inline constexpr int kOffLineStatus = 0xC7;

// The status byte to give for a printer that cannot print now: kOffLineStatus, or that printer
// busy as well should the store's ready value be kOffLineStatus itself.
int OffLineStatus(int readyValue);

// One print job on its way out. A job either passes every write on at once (a parallel port)
// or keeps the bytes and hands them over whole in Finish (a spooler queue, a print file); a
// failed Finish then means that none of the job arrived. Each call is bounded in time: a
// device that does not answer within its time limit has failed.
class PrintJob {
 public:
  virtual ~PrintJob() = default;
  // Sends bytes; sent tells how many of them went out (all when it worked), so a retry can
  // go on with the rest.
  virtual Status Write(std::string_view bytes, size_t& sent) = 0;
  // Ends the job; for a job handed over whole, this is the hand-over.
  virtual Status Finish() = 0;
};

// A job that keeps every write and hands the bytes over whole in Finish.
class WholePrintJob : public PrintJob {
 public:
  Status Write(std::string_view bytes, size_t& sent) override {
    bytes_.append(bytes);
    sent = bytes.size();
    return Status::Ok();
  }

 protected:
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// The host's parallel ports 1 to 3.
class PrinterPorts {
 public:
  virtual ~PrinterPorts() = default;
  // Starts a job on port 1-3.
  virtual Status Open(int port, std::unique_ptr<PrintJob>& job) = 0;
  // The status byte of port 1-3, for the printer check to compare with readyValue, the value
  // the store's printer shows when it is ready.
  virtual int StatusByte(int port, int readyValue) = 0;
};

// A host without printers: every port is a printer that is not there.
class NoPrinterPorts : public PrinterPorts {
 public:
  Status Open(int, std::unique_ptr<PrintJob>&) override { return Status::Failed(kDeviceUnavailable); }
  int StatusByte(int, int readyValue) override { return OffLineStatus(readyValue); }
};

// 1 to 3 for "LPT1:" to "LPT3:" (any case, the colon may be left out); 0 for any other name.
int ParallelPortOf(std::string_view deviceName);

// A job into a file, written whole when finished (replacing the file), so a print driver
// that picks the file up never sees half a card.
std::unique_ptr<PrintJob> NewFilePrintJob(const std::filesystem::path& path);

}  // namespace shiftlog
