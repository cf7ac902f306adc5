// The printed time card, as the bytes sent to the printer: a wide layout of 77 columns for
// page printers (printer setting 8 = 1) and a narrow one of 39 columns for receipt printers,
// with the top margin, the end of the card (blank lines or a form feed) and the line ends the
// printer settings ask for. Pure: nothing is printed here.
#pragma once

#include <string>
#include <vector>

#include "layouts/card_lines.h"

namespace shiftlog {

// The printout in the pieces it is sent in: each line with its line end, the blank lines, the
// form feed. Control characters in the card's texts print as blanks, so no damaged text can
// break a line or feed a page.
std::vector<std::string> CardPrintout(const PrintedCard& card, const CardPrintSettings& settings);

// The number of lines of the narrow card itself, which the blank-line fill of page mode counts
// (kWideCardLines for the wide one).
inline constexpr int kNarrowCardLines = 38;

}  // namespace shiftlog
