// Printing one time card: the check before printing, then the printout on the configured
// printer device with the printer-error trap armed. Used by the punch screen ([TAB]) and by
// the supervisor's print of one card or of every card in a card file.
#pragma once

#include "frame/program.h"
#include "layouts/card_printout.h"

namespace shiftlog {

enum class PrintOutcome {
  kPrinted,     // the whole card reached the printer device
  kNotPrinted,  // printing is off, or the user ended printing before it began
  kSentToNull,  // the user ended printing after a failure: the rest went to the file "NULL"
};

// The printer settings and the store's settings (time display, week end, store ID) in force.
CardPrintSettings CardPrintSettingsOf(const Program& program);

// Prints the card with the given settings (printer setting 1 = 0 prints nothing). The screen
// is left as it was, whatever printer screens came up on the way.
PrintOutcome PrintTimeCard(Program& program, const PrintedCard& card, const CardPrintSettings& settings);

}  // namespace shiftlog
