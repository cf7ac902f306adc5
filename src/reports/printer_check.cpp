#include "reports/printer_check.h"

#include <optional>

#include "reports/printer_error_screens.h"
#include "store/register_data.h"

namespace shiftlog {

namespace {

constexpr int kReadyStatusRecord = 2;
constexpr int kReadyStatusOffset = 56;

bool PrintsToFile(const std::string& deviceName) {
  return deviceName.compare(0, 8, "WLSDFKJN") == 0;
}

int StatusByteFor(Program& program, const std::string& deviceName, int readyValue) {
  // A port other than LPT1: is asked about itself; a file name about the first port.
  const int port = ParallelPortOf(deviceName);
  return program.host.Printers().StatusByte(port != 0 ? port : 1, readyValue);
}

}  // namespace

int ReadyStatusValue(Program& program) {
  std::string record;
  // Never creates the register data file: it belongs to the cash-register program.
  if (!ReadLocalRegisterRecord(program.store, kReadyStatusRecord, record)) return kDefaultReadyStatus;
  const int value = static_cast<unsigned char>(record[kReadyStatusOffset]);
  return value != 0 ? value : kDefaultReadyStatus;
}

int CheckPrinter(Program& program, const std::string& deviceName, bool beforePrinting) {
  PrinterCheckState& state = program.printerCheck;
  // A print file needs no check before printing. After a failed write it gets the screen like
  // any printer: a print file that cannot be written (a read-only folder) would otherwise be
  // retried for ever, with no way to end printing.
  if (beforePrinting && (PrintsToFile(deviceName) || state.quickTrap == 1)) return kGoAhead;
  std::optional<int> statusByte;
  if (beforePrinting) {
    const int readyValue = ReadyStatusValue(program);
    statusByte = StatusByteFor(program, deviceName, readyValue);
    if (*statusByte == readyValue) return kGoAhead;
  }
  if (program.console.noGraphics == 1) return PrinterErrorDialog(program.console);
  if (!statusByte) statusByte = StatusByteFor(program, deviceName, ReadyStatusValue(program));
  const int result = PrinterErrorScreen(program.console, *statusByte, state.quickTrap);
  if (result == kToggleQuickTrap) state.quickTrap = 1 - state.quickTrap;
  return result;
}

}  // namespace shiftlog
