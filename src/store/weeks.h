// Dates, card weeks and worked time: where a date falls in its card week, the seven dates and
// the file name of that week, and the worked-time totals in hours and minutes or decimal hours.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "store/time_card.h"

namespace shiftlog {

struct CardWeek {
  std::array<std::string, 7> dates;  // mm-dd-yyyy, first to last day
  std::string fileName;              // yyyymmdd of the last day
};

// The days of a month 1-12 of a year, 29 for February of a leap year.
int DaysInMonth(int month, int year);

// 0-6: the place of the date (mm-dd-yyyy) in its card week; weekEnd 0 Saturday, 1 Sunday.
int WeekPosition(std::string_view dateText, int weekEnd);

// The card week of a date at the given week position.
CardWeek ComputeCardWeek(std::string_view dateText, int position);

// The date text (mm-dd-yyyy) of the last day of a card file's week, from the file's name:
// "20121215" or "20121215.CLK" gives "12-15-2012". Parts a short name lacks are empty (an
// empty name gives "--").
std::string CardNameDateText(std::string_view name);

// Day totals 0-6 and the week total 7. timeDisplay 0 hours:minutes, 1 decimal hours;
// wideForm (printer setting 8 = 1) writes the separator, giving 5 characters instead of 4.
std::array<std::string, 8> WorkedTimeTotals(const TimeCard& card, int timeDisplay, bool wideForm);

// The minutes of a card time ("08:30" is 510); blank, "00:00" or text that is not a time give 0,
// which means no punch.
long long CardTimeMinutes(std::string_view text);
// The minutes of the time that counts for a slot (day 0-6, slot 1-8): the correction when it
// holds a time, else the punch; 0 when neither does.
long long SlotMinutes(const TimeCard& card, int day, int slot);
// The minutes worked on day 0-6: the IN/OUT pairs with both halves, a pair that crosses
// midnight counting nothing.
long long DayMinutes(const TimeCard& card, int day);

// "SUNDAY".."SATURDAY" or "MONDAY".."SUNDAY" for day 0-6 of a week ending Saturday / Sunday.
std::string DayName(int day, int weekEnd);
// "SUN".."SAT","TOT" or "MON".."SUN","TOT" for total 0-7.
std::string TotalLabel(int total, int weekEnd);

}  // namespace shiftlog
