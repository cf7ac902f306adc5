#include "store/weeks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "text/text_fields.h"

namespace shiftlog {

namespace {

struct Date {
  int month = 1;
  int day = 1;
  int year = 2000;
};

// The number in characters [from, from + length) of a date text, read as the suite reads
// numbers; what the text does not have counts as 0.
int NumberAt(std::string_view text, size_t from, size_t length) {
  if (from >= text.size()) return 0;
  const double value = NumericValue(text.substr(from, length));
  return static_cast<int>(std::clamp(value, -1e6, 1e6));
}

// Month 1-12 and day 1-31 whatever the text held, so that a damaged date still gives a week.
Date ParseDate(std::string_view text) {
  Date date;
  date.month = std::clamp(NumberAt(text, 0, 2), 1, 12);
  date.day = std::clamp(NumberAt(text, 3, 2), 1, 31);
  date.year = std::clamp(NumberAt(text, 6, 4), 0, 9999);
  return date;
}

Date DayBefore(Date date) {
  if (--date.day >= 1) return date;
  if (--date.month == 0) {
    date.month = 12;
    --date.year;
  }
  date.day = DaysInMonth(date.month, date.year);
  return date;
}

Date DayAfter(Date date) {
  if (++date.day <= DaysInMonth(date.month, date.year)) return date;
  date.day = 1;
  if (++date.month == 13) {
    date.month = 1;
    ++date.year;
  }
  return date;
}

std::string DateText(const Date& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d-%02d-%04d", date.month, date.day, date.year);
  return text;
}

std::string FileNameOf(const Date& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", date.year, date.month, date.day);
  return text;
}

int FloorDiv(int a, int b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

constexpr const char* kDayNames[8] = {"SUNDAY",   "MONDAY", "TUESDAY",  "WEDNESDAY",
                                      "THURSDAY", "FRIDAY", "SATURDAY", "SUNDAY"};
constexpr const char* kSaturdayLabels[8] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT", "TOT"};
constexpr const char* kSundayLabels[8] = {"MON", "TUE", "WED", "THU", "FRI", "SAT", "SUN", "TOT"};

}  // namespace

// February has 29 days in leap years: without that the days before 29 February were filed
// under the next week's card file and five dates of that week's card were wrong.
int DaysInMonth(int month, int year) {
  static constexpr int kDays[13] = {31, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leapYear = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  if (month == 2 && leapYear) return 29;
  return kDays[month];
}

int WeekPosition(std::string_view dateText, int weekEnd) {
  int month = NumberAt(dateText, 0, 2);
  const int day = NumberAt(dateText, 3, 2);
  int year = dateText.size() >= 2 ? NumberAt(dateText, dateText.size() - 2, 2) : 0;
  if (month == 1 || month == 2) {
    month += 12;
    --year;
  }
  // The weekday rule for the years 2000 to 2099, whose century terms vanish modulo 7.
  const int s = weekEnd == 1 ? 0 : 1;
  const int sum = s + FloorDiv(year, 4) + FloorDiv(13 * month + 3, 5) + day + year;
  return ((sum % 7) + 7) % 7;
}

CardWeek ComputeCardWeek(std::string_view dateText, int position) {
  position = std::clamp(position, 0, 6);
  // Fifteen days around the date, which stands at entry 7.
  Date entries[15];
  entries[7] = ParseDate(dateText);
  for (int i = 6; i >= 0; --i) entries[i] = DayBefore(entries[i + 1]);
  for (int i = 8; i <= 14; ++i) entries[i] = DayAfter(entries[i - 1]);
  CardWeek week;
  for (int i = 0; i < 7; ++i) week.dates[static_cast<size_t>(i)] = DateText(entries[7 - position + i]);
  week.fileName = FileNameOf(entries[13 - position]);
  return week;
}

std::string CardNameDateText(std::string_view name) {
  const auto part = [name](size_t at, size_t length) {
    return at < name.size() ? std::string(name.substr(at, length)) : std::string();
  };
  return part(4, 2) + "-" + part(6, 2) + "-" + part(0, 4);
}

std::string DayName(int day, int weekEnd) {
  if (day < 0 || day > 6) return {};
  return kDayNames[day + (weekEnd == 1 ? 1 : 0)];
}

std::string TotalLabel(int total, int weekEnd) {
  if (total < 0 || total > 7) return {};
  return weekEnd == 1 ? kSundayLabels[total] : kSaturdayLabels[total];
}

}  // namespace shiftlog
