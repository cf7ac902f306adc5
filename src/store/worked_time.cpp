#include <cmath>
#include <cstdio>

#include "store/weeks.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

std::string TotalText(long long minutes, int timeDisplay, bool wideForm) {
  const long long hours = minutes / 60;
  const long long rest = minutes % 60;
  // Decimal hours: hundredths of an hour, rounded half up (59 minutes show 98).
  const long long shown = timeDisplay != 0 ? (rest * 200 + 60) / 120 : rest;
  const char separator = timeDisplay != 0 ? '.' : ':';
  char text[16];
  if (wideForm) {
    std::snprintf(text, sizeof text, "%02lld%c%02lld", hours % 100, separator, shown % 100);
  } else {
    std::snprintf(text, sizeof text, "%02lld%02lld", hours % 100, shown % 100);
  }
  return text;
}

}  // namespace

// The minutes of a card time: its first two characters as hours, its last two as minutes.
// Blank, "00:00", zero bytes or text that is not a number give 0: no punch.
long long CardTimeMinutes(std::string_view view) {
  const std::string_view hours = view.substr(0, 2);
  const std::string_view minutes = view.size() >= 2 ? view.substr(view.size() - 2) : view;
  return static_cast<long long>(std::nearbyint(NumericValue(hours) * 60 + NumericValue(minutes)));
}

long long SlotMinutes(const TimeCard& card, int day, int slot) {
  const long long corrected = CardTimeMinutes(card.Text(kCorrectionRow, day, slot));
  return corrected != 0 ? corrected : CardTimeMinutes(card.Text(kPunchRow, day, slot));
}

long long DayMinutes(const TimeCard& card, int day) {
  long long total = 0;
  for (int in = 1; in <= 7; in += 2) {
    const long long start = SlotMinutes(card, day, in);
    const long long end = SlotMinutes(card, day, in + 1);
    // A shift that crosses midnight, or a pair with one half missing, adds nothing.
    if (start != 0 && end != 0 && end > start) total += end - start;
  }
  return total;
}

std::array<std::string, 8> WorkedTimeTotals(const TimeCard& card, int timeDisplay, bool wideForm) {
  std::array<std::string, 8> totals;
  long long week = 0;
  for (int day = 0; day < 7; ++day) {
    const long long minutes = DayMinutes(card, day);
    week += minutes;
    totals[static_cast<size_t>(day)] = TotalText(minutes, timeDisplay, wideForm);
  }
  totals[7] = TotalText(week, timeDisplay, wideForm);
  return totals;
}

}  // namespace shiftlog
