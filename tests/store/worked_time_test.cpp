#include <gtest/gtest.h>

#include "store/weeks.h"

namespace shiftlog {
namespace {

struct Shift {
  int day;
  int slot;
  const char* punch;
};

TimeCard CardWith(std::initializer_list<Shift> punches) {
  TimeCard card;
  for (const Shift& s : punches) card.Text(kPunchRow, s.day, s.slot) = s.punch;
  return card;
}

TEST(WorkedTime, PairsAddUpPerDayAndWeek) {
  const TimeCard card = CardWith(
      {{0, 1, "08:00"}, {0, 2, "12:30"}, {0, 3, "13:00"}, {0, 4, "17:15"}, {3, 7, "18:00"}, {3, 8, "18:01"}});
  const auto totals = WorkedTimeTotals(card, 0, true);
  EXPECT_EQ(totals[0], "08:45");
  EXPECT_EQ(totals[1], "00:00");
  EXPECT_EQ(totals[3], "00:01");
  EXPECT_EQ(totals[7], "08:46");
  EXPECT_EQ(WorkedTimeTotals(card, 0, false)[0], "0845");
  EXPECT_EQ(WorkedTimeTotals(card, 1, true)[0], "08.75");
  EXPECT_EQ(WorkedTimeTotals(card, 1, false)[7], "0877");  // 46 minutes: 76.67 rounds to 77
}

TEST(WorkedTime, MidnightCrossingAndUnpairedPunchesAddNothing) {
  const TimeCard card = CardWith({{1, 1, "22:00"},
                                  {1, 2, "06:00"},
                                  {2, 1, "09:00"},
                                  {2, 4, "17:00"},
                                  {4, 2, "12:00"},
                                  {5, 1, "00:00"},
                                  {5, 2, "04:00"}});
  const auto totals = WorkedTimeTotals(card, 0, true);
  EXPECT_EQ(totals[1], "00:00");
  EXPECT_EQ(totals[2], "00:00");  // IN of one pair, OUT of another
  EXPECT_EQ(totals[4], "00:00");
  EXPECT_EQ(totals[5], "00:00");  // 00:00 is no punch
  EXPECT_EQ(totals[7], "00:00");
}

TEST(WorkedTime, CorrectionsReplacePunchesUnlessBlankOrZero) {
  TimeCard card = CardWith({{0, 1, "08:00"}, {0, 2, "16:00"}, {1, 1, "08:00"}, {1, 2, "16:00"}});
  card.Text(kCorrectionRow, 0, 1) = "09:30";  // corrected IN
  card.Text(kCorrectionRow, 1, 2) = "00:00";  // no correction
  card.Text(kCorrectionRow, 2, 1) = "10:00";  // a correction alone makes a pair with a punch
  card.Text(kPunchRow, 2, 2) = "11:00";
  const auto totals = WorkedTimeTotals(card, 0, true);
  EXPECT_EQ(totals[0], "06:30");
  EXPECT_EQ(totals[1], "08:00");
  EXPECT_EQ(totals[2], "01:00");
}

TEST(WorkedTime, HundredHoursShowTheLastTwoDigits) {
  TimeCard card;
  for (int day = 0; day < 7; ++day) {
    card.Text(kPunchRow, day, 1) = "00:01";
    card.Text(kPunchRow, day, 2) = "15:01";
  }
  // 7 x 15 = 105 hours.
  EXPECT_EQ(WorkedTimeTotals(card, 0, true)[7], "05:00");
  EXPECT_EQ(WorkedTimeTotals(card, 1, false)[7], "0500");
}

TEST(WorkedTime, DecimalHundredthsRoundHalfUp) {
  auto decimal = [](const char* out) {
    return WorkedTimeTotals(CardWith({{0, 1, "10:00"}, {0, 2, out}}), 1, true)[0];
  };
  EXPECT_EQ(decimal("10:59"), "00.98");
  EXPECT_EQ(decimal("10:01"), "00.02");
  EXPECT_EQ(decimal("10:30"), "00.50");
  EXPECT_EQ(decimal("10:20"), "00.33");
  EXPECT_EQ(decimal("20:30"), "10.50");
}

TEST(WorkedTime, DamagedTimesCountAsNoPunch) {
  TimeCard card = CardWith({{0, 1, "xx:yy"}, {0, 2, "12:00"}, {1, 1, "08:00"}, {1, 2, "16:00"}});
  card.Text(kPunchRow, 2, 1) = std::string(5, '\0');
  card.Text(kPunchRow, 2, 2) = "7";  // too short to hold hours and minutes
  card.Text(kCorrectionRow, 1, 1) = std::string("\0\0\0\0\0", 5);
  const auto totals = WorkedTimeTotals(card, 0, true);
  EXPECT_EQ(totals[0], "00:00");
  EXPECT_EQ(totals[1], "08:00");
  EXPECT_EQ(totals[2], "00:00");
}

}  // namespace
}  // namespace shiftlog
