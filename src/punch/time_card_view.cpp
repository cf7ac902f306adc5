#include "punch/time_card_view.h"

#include <string_view>

#include "console/box_characters.h"
#include "console/wait_key.h"
#include "store/weeks.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

constexpr std::string_view kKeyBar =
    " [ ]   [ ]  [CTRL] + [INSERT] = Punch   [TAB] = Print   [+] = Total  [ESC] Done ";
static_assert(kKeyBar.size() == 80, "the key bar fills row 25");

}  // namespace

void DrawCardKeyBar(Console& console) {
  console.SetColours(15, 1, 7, 0);
  Screen& screen = console.screen;
  PrintAt(screen, 25, 1, kKeyBar);
  PrintAt(screen, 25, 3, std::string(1, cp437::kArrowLeft));
  PrintAt(screen, 25, 9, std::string(1, cp437::kArrowRight));
}

void ShowTimeCard(Program& program, int& dayIndex, const TimeCard& card, const std::string& name,
                  const std::string& id) {
  Console& console = program.console;
  Screen& screen = console.screen;
  const int weekEnd = program.store.associates.weekEnd;
  console.SetColours(15, 1, 7, 0);
  screen.ClearScreen();

  for (int column = 18; column <= 66; column += 16) PrintAt(screen, 2, column, "IN     OUT");
  for (int day = 0; day < 7; ++day) PrintAt(screen, CardRow(day), 2, DayName(day, weekEnd));

  dayIndex = WeekPosition(program.frame.dateText, weekEnd);
  program.frame.weekDates = ComputeCardWeek(program.frame.dateText, dayIndex).dates;

  // Name and ID# as stored on the card, padding and all: the block marks where the name ends.
  // Cut at the right edge so a damaged record cannot spill onto the next row.
  PrintAt(screen, 1, 15, ("Associate = " + id + " " + name + cp437::kFullBlock).substr(0, 66));
  DrawCardKeyBar(console);
  console.SetColours(15, 1, 7, 0);
  for (int day = 0; day < 7; ++day) PrintAt(screen, CardRow(day) + 1, 2, program.frame.weekDates[day]);

  for (int column = 14; column <= 78; column += 8) {
    for (int row = 2; row <= 23; ++row) PrintAt(screen, row, column, std::string(1, cp437::kSingleVertical));
  }
  PrintAt(screen, 24, 1, std::string(77, cp437::kSingleHorizontal) + cp437::kSingleBottomRight);
  for (int column = 14; column <= 70; column += 8)
    PrintAt(screen, 24, column, std::string(1, cp437::kSingleTeeUp));

  for (int day = 0; day < 7; ++day) {
    const int row = CardRow(day);
    for (int slot = 1; slot <= 8; ++slot) {
      // Five cells each; a longer text would run over the column line.
      PrintAt(screen, row, CardColumn(slot), TextField(card.Text(kPunchRow, day, slot), 5));
      PrintAt(screen, row + 1, CardColumn(slot), TextField(card.Text(kCorrectionRow, day, slot), 5));
      const std::string& corrector = card.Text(kCorrectorRow, day, slot);
      const std::string shown =
          NumericValue(corrector) != 0 ? corrector.substr(0, 7) + " " : std::string(7, ' ');
      PrintAt(screen, row + 2, CardColumn(slot) - 1, shown);
    }
    PrintAt(screen, row + 2, 2, TextField(card.reasons[static_cast<size_t>(day) + 1], 12));
  }
}

void ShowDayTotals(Program& program, const TimeCard& card) {
  Console& console = program.console;
  const int weekEnd = program.store.associates.weekEnd;
  console.SetColours(15, 1, Console::kMonoFG, 0);
  const auto totals = WorkedTimeTotals(card, program.store.associates.timeDisplay, program.printer[8] == 1);
  std::string bar;
  for (int i = 0; i < 8; ++i) {
    bar +=
        TotalLabel(i, weekEnd) + " " + TextField(totals[static_cast<size_t>(i)], 5) + cp437::kSingleVertical;
  }
  PrintAt(console.screen, 25, 1, bar);
  WaitKey(console, false, 0, 0, "");
}

}  // namespace shiftlog
