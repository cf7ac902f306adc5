#include "cli/dates.h"

#include <cstdio>

#include "store/weeks.h"

namespace shiftlog {

namespace {

bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return !text.empty();
}

int Digits(std::string_view text) {
  int value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value;
}

}  // namespace

ParsedDate ParseDate(std::string_view text, bool cardNames) {
  ParsedDate parsed;
  std::string_view year, month, day;
  if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
    year = text.substr(0, 4);
    month = text.substr(5, 2);
    day = text.substr(8, 2);
    parsed.form = DateForm::kIso;
  } else if (cardNames && text.size() == 8) {
    year = text.substr(0, 4);
    month = text.substr(4, 2);
    day = text.substr(6, 2);
    parsed.form = DateForm::kCardName;
  } else {
    return parsed;
  }
  if (!AllDigits(year) || !AllDigits(month) || !AllDigits(day)) return parsed;
  parsed.date = CalendarDate{Digits(year), Digits(month), Digits(day)};
  const CalendarDate& date = parsed.date;
  if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > DaysInMonth(date.month, date.year)) {
    parsed.outcome = ParsedDate::kNoSuchDay;
  } else if (date.year < 2000 || date.year > 2099) {
    parsed.outcome = ParsedDate::kOutsideCardYears;
  } else {
    parsed.outcome = ParsedDate::kOk;
  }
  return parsed;
}

CalendarDate DateOf(const LocalTime& time) {
  return CalendarDate{time.year, time.month, time.day};
}

std::string SuiteDateText(const CalendarDate& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d-%02d-%04d", date.month, date.day, date.year);
  return text;
}

std::string IsoDateText(std::string_view suiteDate) {
  if (suiteDate.size() != 10) return std::string(suiteDate);
  return std::string(suiteDate.substr(6, 4)) + "-" + std::string(suiteDate.substr(0, 2)) + "-" +
         std::string(suiteDate.substr(3, 2));
}

}  // namespace shiftlog
