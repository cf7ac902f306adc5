// Dates as the command line takes them (YYYY-MM-DD, or a card file's name YYYYMMDD) and as it
// writes them, against the suite's own date text mm-dd-yyyy.
#pragma once

#include <string>
#include <string_view>

#include "host/clock.h"

namespace shiftlog {

struct CalendarDate {
  int year = 2000;
  int month = 1;
  int day = 1;
  bool operator==(const CalendarDate&) const = default;
};

enum class DateForm { kIso, kCardName };

struct ParsedDate {
  enum Outcome { kOk, kNotADate, kNoSuchDay, kOutsideCardYears } outcome = kNotADate;
  DateForm form = DateForm::kIso;
  CalendarDate date;
};

// "2012-12-15", or with cardNames "20121215" too. A day the calendar does not have (February
// 29 outside leap years, April 31) is kNoSuchDay. The card week is worked out the way the time
// clock works it out, which holds for the years 2000 to 2099 only: others are kOutsideCardYears.
ParsedDate ParseDate(std::string_view text, bool cardNames);

CalendarDate DateOf(const LocalTime& time);

// "12-15-2012", the suite's date text.
std::string SuiteDateText(const CalendarDate& date);
// "2012-12-15" from the suite's date text "12-15-2012".
std::string IsoDateText(std::string_view suiteDate);

}  // namespace shiftlog
