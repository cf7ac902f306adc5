// The parallel ports LPT1: to LPT3: on this host. A port is the parallel port device
// /dev/lp0, /dev/lp1 or /dev/lp2 where that exists and can be opened; otherwise it is a CUPS
// queue: the one the environment variable SHIFTLOG_PRINTER names, else the default
// destination. Jobs go out as raw text, one job per printed card.
#pragma once

#include <filesystem>
#include <string>

#include "host/cups_queue.h"
#include "host/printer_device.h"

namespace shiftlog {

inline constexpr const char* kPrinterQueueVariable = "SHIFTLOG_PRINTER";

class RealPrinterPorts : public PrinterPorts {
 public:
  // A write to a port, or a job handed to the spooler, that takes longer has failed.
  static constexpr int kTimeLimitMs = 10000;

  // Ports as the store has them: /dev, the CUPS client library's scheduler, and the queue
  // named by SHIFTLOG_PRINTER.
  RealPrinterPorts();
  // Everything given (the tests): the folder holding lp0 to lp2, the scheduler and the queue
  // (empty: the library's choice, the default destination).
  RealPrinterPorts(std::filesystem::path deviceFolder, std::string cupsServer, std::string queue,
                   int timeLimitMs);

  Status Open(int port, std::unique_ptr<PrintJob>& job) override;
  int StatusByte(int port, int readyValue) override;

 private:
  std::filesystem::path DeviceOf(int port) const;

  std::filesystem::path deviceFolder_;
  CupsQueue queue_;
  int timeLimitMs_;
};

}  // namespace shiftlog
