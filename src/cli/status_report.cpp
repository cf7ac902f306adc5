#include "cli/status_report.h"

#include <algorithm>

#include "cli/command_error.h"
#include "cli/dates.h"
#include "store/weeks.h"

namespace shiftlog {

namespace {

CountedTime CountedTimeOf(const TimeCard& card, int day, int punchSlot) {
  CountedTime time;
  time.punchSlot = punchSlot;
  time.corrected = CardTimeMinutes(card.Text(kCorrectionRow, day, punchSlot)) != 0;
  time.text = card.Text(time.corrected ? kCorrectionRow : kPunchRow, day, punchSlot);
  return time;
}

CalendarDate DateOption(const StatusOptions& options, Clock& clock) {
  if (options.date.empty()) return DateOf(clock.Now());
  const ParsedDate parsed = ParseDate(options.date, false);
  switch (parsed.outcome) {
    case ParsedDate::kOk:
      return parsed.date;
    case ParsedDate::kNotADate:
      throw UsageError("--date " + options.date + ": not a date (YYYY-MM-DD)");
    case ParsedDate::kNoSuchDay:
      throw UsageError("--date " + options.date + ": no such date");
    case ParsedDate::kOutsideCardYears:
      break;
  }
  throw UsageError("--date " + options.date + ": the time clock keeps weeks of the years 2000 to 2099 only");
}

}  // namespace

std::vector<ClockedIn> WhoIsClockedIn(const WeekCards& week, int day) {
  std::vector<ClockedIn> people;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    const TimeCard& card = week.cards[static_cast<size_t>(slot)].card;
    // The last slot of the day that holds a time; the punch screen fills them in order.
    int last = 0;
    for (int punchSlot = 8; punchSlot >= 1 && last == 0; --punchSlot) {
      if (SlotMinutes(card, day, punchSlot) != 0) last = punchSlot;
    }
    if (last % 2 == 1) people.push_back(ClockedIn{slot, CountedTimeOf(card, day, last)});
  }
  return people;
}

std::vector<UnpairedDay> UnpairedPunches(const WeekCards& week) {
  std::vector<UnpairedDay> days;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    const TimeCard& card = week.cards[static_cast<size_t>(slot)].card;
    for (int day = 0; day < 7; ++day) {
      UnpairedDay unpaired{slot, day, {}};
      for (int in = 1; in <= 7; in += 2) {
        const bool hasIn = SlotMinutes(card, day, in) != 0;
        const bool hasOut = SlotMinutes(card, day, in + 1) != 0;
        if (hasIn && !hasOut) unpaired.punches.push_back(CountedTimeOf(card, day, in));
        if (hasOut && !hasIn) unpaired.punches.push_back(CountedTimeOf(card, day, in + 1));
      }
      if (!unpaired.punches.empty()) days.push_back(std::move(unpaired));
    }
  }
  return days;
}

std::string StatusReport(const StatusOptions& options, Clock& clock) {
  if (options.format != "text" && options.format != "csv" && options.format != "json")
    throw UsageError("--format " + options.format + ": no such format");
  const CalendarDate date = DateOption(options, clock);
  BackOfficeStore store(options.store);
  const WeekCards week = ReadWeekCards(store, CardFileOfDate(date, store.Context().associates.weekEnd));
  if (options.week) return UnpairedReport(week, UnpairedPunches(week), options.format);
  const auto found = std::find(week.dates.begin(), week.dates.end(), SuiteDateText(date));
  // The week was worked out from the date, so the date is one of its days.
  if (found == week.dates.end())
    throw StoreError("the date " + options.date + " is not in card file " + week.fileName);
  const int day = static_cast<int>(found - week.dates.begin());
  return ClockedInReport(week, day, WhoIsClockedIn(week, day), options.format);
}

}  // namespace shiftlog
