// What the program needs of the machine beyond screen, keyboard and clock: where it runs,
// what the suite's drive letters stand for, how the cash-register program is started, and
// where the printer ports lead.
// The real host and the tests' host implement it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "host/printer_device.h"

namespace shiftlog {

class Host {
 public:
  virtual ~Host() = default;
  // Starts the cash-register program in place of this one. Returns only when it could not
  // be started.
  virtual void StartCashRegister() = 0;
  // The folder the program was started in (the store's folder); relative DOS paths start here.
  virtual std::filesystem::path CurrentFolder() = 0;
  // The host folder a drive letter ('A'-'Z', upper case) stands for; nothing for a drive
  // that is not ready.
  virtual std::optional<std::filesystem::path> DriveFolder(char letter) = 0;
  // The parallel ports LPT1: to LPT3: the printed cards go to. A host that does not say
  // has no printers (the benchmarks' hosts).
  virtual PrinterPorts& Printers() { return noPrinters_; }

 private:
  NoPrinterPorts noPrinters_;
};

}  // namespace shiftlog
