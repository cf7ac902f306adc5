// The printed time card, as the bytes sent to the printer: a wide layout of 77 columns for
// page printers (printer setting 8 = 1) and a narrow one of 39 columns for receipt printers,
// with the top margin, the end of the card (blank lines or a form feed) and the line ends the
// printer settings ask for. Pure: nothing is printed here.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "frame/printer_settings.h"
#include "store/time_card.h"

namespace shiftlog {

// Everything besides the card that decides what a printout looks like.
struct CardPrintSettings {
  PrinterSettings printer;
  int timeDisplay = 0;  // 0 hours and minutes, 1 decimal hours
  int weekEnd = 0;      // 0 the week ends on Saturday, 1 on Sunday
  std::string storeId;  // 12 characters; blank leaves the store ID out
};

// One card as it is printed: its texts, whose card it is and the dates of its week.
struct PrintedCard {
  const TimeCard& card;
  std::string name;                      // 24 characters, as on the card
  std::string id;                        // the ID#, 8 characters
  int slot = 1;                          // the associate slot, printed as the card number
  std::array<std::string, 7> weekDates;  // mm-dd-yyyy, first to last day of the week
};

// The printout in the pieces it is sent in: each line with its line end, the blank lines, the
// form feed. Control characters in the card's texts print as blanks, so no damaged text can
// break a line or feed a page.
std::vector<std::string> CardPrintout(const PrintedCard& card, const CardPrintSettings& settings);

// The text of a punch or correction cell: hours:minutes (08:30 wide, 0830 narrow) or decimal
// hours (08.5, 08.75, 08.00 wide; 08.5, 0875, 0800 narrow).
std::string PrintedCellText(const std::string& stored, int timeDisplay, bool wide);

// The number of lines of the card itself, which the blank-line fill of page mode counts.
inline constexpr int kWideCardLines = 35;
inline constexpr int kNarrowCardLines = 38;

}  // namespace shiftlog
