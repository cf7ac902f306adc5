// The time card as the card screens show it (the punch screen, the card viewer and the punch
// correction): a week of three-row days with the IN/OUT columns, and the day totals bar that
// [+] puts on the last row.
#pragma once

#include <string>

#include "frame/program.h"
#include "store/time_card.h"

namespace shiftlog {

// Clears the screen and draws the card of the week the program's date text lies in. dayIndex
// becomes the date text's position in that week; the program's week dates are filled.
void ShowTimeCard(Program& program, int& dayIndex, const TimeCard& card, const std::string& name,
                  const std::string& id);

// The row-25 key bar of the card screens with its two arrows.
void DrawCardKeyBar(Console& console);

// The worked time per day and for the week on row 25, then a key wait without clock or tag;
// the key that closes the bar is left in the console's key text and key code.
void ShowDayTotals(Program& program, const TimeCard& card);

// Where slot 1-8 of day 0-6 sits: punches on the day's first row, corrections on its second,
// correctors on its third.
inline int CardRow(int day) {
  return 3 * day + 3;
}
inline int CardColumn(int slot) {
  return 8 * slot + 8;
}

}  // namespace shiftlog
