// The printer a printout goes to while the printer-error trap is armed. Every failed open,
// write or hand-over of the job runs the printer check in error mode (repeated while the user
// asks to check again); then the failed step is tried again, or, when the user ends printing,
// the rest of the job goes to the file "NULL" in the current folder and the printout runs to
// its end there. Nothing of the job is ever reported as printed that did not reach the device.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "frame/program.h"
#include "host/printer_device.h"

namespace shiftlog {

class PrinterOutput {
 public:
  explicit PrinterOutput(Program& program) : program_(program) {}

  // Opens the device: "LPT1:" to "LPT3:" are the host's ports, any other name is a file.
  void Open(const std::string& deviceName);
  void Write(std::string_view bytes);
  // Ends the job (for a spooler queue or a print file: hands it over whole).
  void Close();

  // Whether the user ended printing, so that the rest of the job went to "NULL".
  bool GaveUp() const { return gaveUp_; }

 private:
  Status OpenDevice();
  // The printer check in error mode, again while its result is 1; returns the last result.
  int Trap();
  // Closes the device and goes on into "NULL" with bytes, the part not yet printed.
  void GiveUp(std::string_view bytes);

  Program& program_;
  std::string deviceName_;
  std::unique_ptr<PrintJob> job_;
  std::string given_;  // all bytes of the job, for a hand-over that fails
  bool gaveUp_ = false;
};

}  // namespace shiftlog
