#include "reports/print_time_card.h"

#include "reports/printer_check.h"
#include "reports/printer_output.h"

namespace shiftlog {

namespace {

// The check before printing, asked again until the printer is ready, the user lets printing
// go ahead with the quick trap, or ends printing (false).
bool PrinterReady(Program& program, const std::string& deviceName) {
  for (;;) {
    const int result = CheckPrinter(program, deviceName, true);
    if (result == kGoAhead) return true;
    if (result == kEndPrinting) return false;
  }
}

}  // namespace

CardPrintSettings CardPrintSettingsOf(const Program& program) {
  CardPrintSettings settings;
  settings.printer = program.printer;
  settings.timeDisplay = program.store.associates.timeDisplay;
  settings.weekEnd = program.store.associates.weekEnd;
  settings.storeId = program.store.associates.storeId;
  return settings;
}

PrintOutcome PrintTimeCard(Program& program, const PrintedCard& card, const CardPrintSettings& settings) {
  if (settings.printer[1] == 0) return PrintOutcome::kNotPrinted;
  const std::string& deviceName = settings.printer.deviceName;
  if (!PrinterReady(program, deviceName)) return PrintOutcome::kNotPrinted;

  // The trap stays armed to the end of the card in both layouts, so no printer failure ever
  // reaches the run-time error report in the middle of a printout.
  PrinterOutput output(program);
  output.Open(deviceName);
  for (const std::string& piece : CardPrintout(card, settings)) output.Write(piece);
  output.Close();
  return output.GaveUp() ? PrintOutcome::kSentToNull : PrintOutcome::kPrinted;
}

}  // namespace shiftlog
