#include "punch/time_card_view.h"

#include <gtest/gtest.h>

#include "card_fixture.h"
#include "console/scripted_terminal.h"
#include "console/wait_key.h"

namespace shiftlog {
namespace {

struct TimeCardView : testing::CardFixture {
  TimeCardView() {
    t.program.frame.dateText = "12-15-2012";
    card.Text(kPunchRow, 0, 1) = "07:15";
    card.Text(kCorrectionRow, 0, 1) = "07:00";
    card.Text(kCorrectorRow, 0, 1) = "   12";
    card.Text(kCorrectorRow, 0, 2) = "   0";
    card.Text(kPunchRow, 6, 8) = "23:59";
    card.Text(kCorrectorRow, 6, 8) = "   7";
    card.reasons[1] = "SICK CHILD  ";
  }
  // Draws the card and presents it, as the next key wait would.
  void Show() {
    ShowTimeCard(t.program, dayIndex, card, "BOB BAKER               ", "00001234");
    t.console().Present();
  }
  TimeCard card;
  int dayIndex = -1;
};

TEST_F(TimeCardView, DrawsTheWeekInItsThreeRowsPerDay) {
  Show();
  const auto& s = t.terminal;
  EXPECT_EQ(dayIndex, 6);
  EXPECT_EQ(t.program.frame.weekDates[0], "12-09-2012");
  EXPECT_EQ(s.Text(1, 15, 47), "Associate = 00001234 BOB BAKER               \xDB ");
  // The column lines cross the headings.
  EXPECT_EQ(s.Text(2, 18, 10), "IN  \xB3  OUT");
  EXPECT_EQ(s.Text(2, 66, 10), "IN  \xB3  OUT");
  EXPECT_EQ(s.Text(3, 2, 12), "SUNDAY      ");
  EXPECT_EQ(s.Text(4, 2, 12), "12-09-2012  ");
  EXPECT_EQ(s.Text(5, 2, 12), "SICK CHILD  ");
  EXPECT_EQ(s.Text(21, 2, 8), "SATURDAY");
  EXPECT_EQ(s.Text(22, 2, 10), "12-15-2012");
  // Sunday: punch, correction and corrector of slot 1; a corrector of 0 shows nothing.
  EXPECT_EQ(s.Text(3, 16, 5), "07:15");
  EXPECT_EQ(s.Text(4, 16, 5), "07:00");
  EXPECT_EQ(s.Text(5, 15, 7), "   12  ");
  EXPECT_EQ(s.Text(5, 23, 7), std::string(7, ' '));
  // Saturday, slot 8: the last column, inside the frame line at column 78.
  EXPECT_EQ(s.Text(21, 72, 5), "23:59");
  EXPECT_EQ(s.Text(23, 71, 8), "   7   \xB3");
  // The column lines and the bottom rule.
  for (int column = 14; column <= 78; column += 8) {
    EXPECT_EQ(s.Character(2, column), 179) << column;
    EXPECT_EQ(s.Character(23, column), 179) << column;
    EXPECT_EQ(s.Character(24, column), column == 78 ? 217 : 193) << column;
  }
  EXPECT_EQ(s.Character(24, 1), 196);
  EXPECT_EQ(s.Character(24, 77), 196);
  EXPECT_EQ(s.Character(24, 79), ' ');
  // The key bar with its arrows.
  EXPECT_EQ(s.RowText(25),
            " [\x1B]   [\x1A]  [CTRL] + [INSERT] = Punch   [TAB] = Print   [+] = Total  [ESC] Done ");
  EXPECT_EQ(s.Attribute(25, 80), 0x1F);
  EXPECT_EQ(s.Attribute(12, 40), 0x1F);
}

TEST_F(TimeCardView, MonochromeAndAWeekEndingOnSunday) {
  t.console().displayMode = kMonochrome;
  t.console().monoForeground = 15;  // the card screen keeps 7 on 0 even in bright monochrome
  t.program.store.associates.weekEnd = 1;
  Show();
  const auto& s = t.terminal;
  EXPECT_EQ(dayIndex, 5);
  EXPECT_EQ(s.Text(3, 2, 6), "MONDAY");
  EXPECT_EQ(s.Text(4, 2, 10), "12-10-2012");
  EXPECT_EQ(s.Text(21, 2, 6), "SUNDAY");
  EXPECT_EQ(s.Attribute(3, 2), 0x07);
  EXPECT_EQ(s.Attribute(25, 1), 0x07);
}

TEST_F(TimeCardView, DayTotalsCoverRowTwentyFiveAndLeaveTheClosingKey) {
  card.Text(kPunchRow, 0, 2) = "15:45";  // Sunday: IN 07:00 corrected, OUT 15:45
  t.program.store.associates.timeDisplay = 1;
  t.program.printer[8] = 1;  // the wide form with its separator
  t.console().displayMode = kMonochrome;
  t.console().monoForeground = 15;
  t.terminal.TypeExtended(kKeyF8);
  ShowDayTotals(t.program, card);
  EXPECT_EQ(t.console().keyCode, kKeyF8);
  const std::string bar = t.terminal.RowText(25);
  EXPECT_EQ(bar.substr(0, 10), "SUN 08.75\xB3");
  EXPECT_EQ(bar.substr(70, 10), "TOT 08.75\xB3");
  EXPECT_EQ(t.terminal.Attribute(25, 1), 0x0F);
}

}  // namespace
}  // namespace shiftlog
