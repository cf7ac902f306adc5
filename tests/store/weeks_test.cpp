#include "store/weeks.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

namespace shiftlog {
namespace {

using namespace std::chrono;

std::string Text(const year_month_day& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%02u-%02u-%04d", static_cast<unsigned>(date.month()),
                static_cast<unsigned>(date.day()), static_cast<int>(date.year()));
  return text;
}

TEST(WeekPosition, ExamplesForBothWeekEnds) {
  EXPECT_EQ(WeekPosition("12-15-2012", 0), 6);  // a Saturday
  EXPECT_EQ(WeekPosition("12-15-2012", 1), 5);
  EXPECT_EQ(WeekPosition("12-29-2012", 1), 5);
  EXPECT_EQ(WeekPosition("01-01-2013", 0), 2);  // a Tuesday
  EXPECT_EQ(WeekPosition("01-01-2000", 0), 6);  // y becomes -1 for January of 2000
  EXPECT_EQ(WeekPosition("02-29-2024", 0), 4);
}

// Every day of the century the rule is meant for, against the calendar of the library: the
// position, the seven dates and the file name, for weeks ending Saturday and Sunday.
TEST(CardWeek, EveryDayOf2000To2099MatchesTheCalendar) {
  for (sys_days day = sys_days{2000y / January / 1}; day <= sys_days{2099y / December / 31}; day += days{1}) {
    const std::string text = Text(year_month_day{day});
    const unsigned dayOfWeek = std::chrono::weekday{day}.c_encoding();  // 0 Sunday
    for (int weekEnd = 0; weekEnd <= 1; ++weekEnd) {
      const int expected = weekEnd == 0 ? static_cast<int>(dayOfWeek) : static_cast<int>((dayOfWeek + 6) % 7);
      const int position = WeekPosition(text, weekEnd);
      ASSERT_EQ(position, expected) << text << " week end " << weekEnd;
      const CardWeek week = ComputeCardWeek(text, position);
      const sys_days first = day - days{position};
      for (int i = 0; i < 7; ++i) ASSERT_EQ(week.dates[i], Text(year_month_day{first + days{i}})) << text;
      const year_month_day last{first + days{6}};
      char name[16];
      std::snprintf(name, sizeof name, "%04d%02u%02u", static_cast<int>(last.year()),
                    static_cast<unsigned>(last.month()), static_cast<unsigned>(last.day()));
      ASSERT_EQ(week.fileName, name) << text;
    }
  }
}

TEST(CardWeek, LeapWeekOf2024IsOneFileWithTheRightDates) {
  const CardWeek monday = ComputeCardWeek("02-26-2024", WeekPosition("02-26-2024", 0));
  const CardWeek thursday = ComputeCardWeek("02-29-2024", WeekPosition("02-29-2024", 0));
  EXPECT_EQ(monday.fileName, "20240302");
  EXPECT_EQ(thursday.fileName, "20240302");
  const std::array<std::string, 7> dates = {"02-25-2024", "02-26-2024", "02-27-2024", "02-28-2024",
                                            "02-29-2024", "03-01-2024", "03-02-2024"};
  EXPECT_EQ(monday.dates, dates);
  EXPECT_EQ(thursday.dates, dates);
  // From the file's own date, as the transmission and the card chooser do.
  EXPECT_EQ(ComputeCardWeek("03-02-2024", 6).dates, dates);
}

TEST(CardWeek, LeapWeekOf2028EndingSunday) {
  const CardWeek week = ComputeCardWeek("02-29-2028", WeekPosition("02-29-2028", 1));  // a Tuesday
  EXPECT_EQ(week.fileName, "20280305");
  EXPECT_EQ(week.dates[0], "02-28-2028");
  EXPECT_EQ(week.dates[1], "02-29-2028");
  EXPECT_EQ(week.dates[2], "03-01-2028");
  EXPECT_EQ(week.dates[6], "03-05-2028");
  EXPECT_EQ(ComputeCardWeek("03-01-2028", 2).dates[1], "02-29-2028");
}

TEST(CardWeek, OtherYearsKeepTwentyEightDays) {
  EXPECT_EQ(ComputeCardWeek("03-01-2023", 3).dates[2], "02-28-2023");
  EXPECT_EQ(ComputeCardWeek("02-28-2023", 2).dates[3], "03-01-2023");
  EXPECT_EQ(ComputeCardWeek("03-01-2100", 0).dates[0], "03-01-2100");
  EXPECT_EQ(ComputeCardWeek("03-01-2100", 1).dates[0], "02-28-2100");  // 2100 is no leap year
  EXPECT_EQ(ComputeCardWeek("03-01-2000", 3).dates[2], "02-29-2000");  // 2000 is one
}

TEST(CardWeek, NewYearWeekTakesBothYearsAndNamesTheFileAfterDaySeven) {
  const CardWeek week = ComputeCardWeek("01-01-2013", 2);
  EXPECT_EQ(week.dates[0], "12-30-2012");
  EXPECT_EQ(week.dates[1], "12-31-2012");
  EXPECT_EQ(week.dates[2], "01-01-2013");
  EXPECT_EQ(week.dates[6], "01-05-2013");
  EXPECT_EQ(week.fileName, "20130105");
  const CardWeek sunday = ComputeCardWeek("12-29-2012", 5);
  EXPECT_EQ(sunday.dates[0], "12-24-2012");
  EXPECT_EQ(sunday.fileName, "20121230");
}

TEST(CardWeek, DamagedDateTextsStillGiveAWeek) {
  for (const char* text : {"", "x", "13-45-2012", "00-00-0000", "99-99-99", "02-31-2023", "ab-cd-efgh"}) {
    const CardWeek week = ComputeCardWeek(text, WeekPosition(text, 0));
    EXPECT_EQ(week.fileName.size(), 8u) << text;
    for (const std::string& date : week.dates) EXPECT_EQ(date.size(), 10u) << text;
  }
  EXPECT_EQ(ComputeCardWeek("12-15-2012", 9).fileName, "20121215");  // position held to 0-6
}

TEST(DayNames, FollowTheWeekEnd) {
  EXPECT_EQ(DayName(0, 0), "SUNDAY");
  EXPECT_EQ(DayName(6, 0), "SATURDAY");
  EXPECT_EQ(DayName(0, 1), "MONDAY");
  EXPECT_EQ(DayName(6, 1), "SUNDAY");
  EXPECT_EQ(TotalLabel(0, 0), "SUN");
  EXPECT_EQ(TotalLabel(6, 1), "SUN");
  EXPECT_EQ(TotalLabel(7, 1), "TOT");
  EXPECT_EQ(DayName(7, 1), "");
}

}  // namespace
}  // namespace shiftlog
