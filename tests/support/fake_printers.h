// Printer ports for tests: what each job sends is kept, opens, writes and hand-overs fail on
// demand, and the status byte is whatever the test sets.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/printer_device.h"

namespace shiftlog::testing {

class FakePrinterPorts : public PrinterPorts {
 public:
  Status Open(int port, std::unique_ptr<PrintJob>& job) override;
  int StatusByte(int port, int readyValue) override;

  int status = 223;  // what StatusByte reports
  int statusReads = 0;
  int lastStatusPort = 0;
  int failOpens = 0;              // so many opens fail first
  int failWrites = 0;             // so many writes fail first...
  size_t bytesBeforeFailure = 0;  // ...after sending this many of their bytes
  int failFinishes = 0;           // so many hand-overs fail first
  bool wholeJobs = false;         // true: bytes arrive only with a hand-over that works, as at a spooler
  int opens = 0;
  int lastPort = 0;
  std::string printed;  // every byte that reached the printer, in order
  int finishedJobs = 0;
};

}  // namespace shiftlog::testing
