// What the printed card and the exported cards are made of: the card with whose card it is,
// the settings that shape it, the cell texts, the collector of lines and the wide layout of 77
// columns, which the printed card (printer setting 8 = 1) and the exported TEXT card share.
// Pure: nothing is printed or written here.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "layouts/printer_settings.h"
#include "store/time_card.h"

namespace shiftlog {

// Everything besides the card that decides what a printout looks like.
struct CardPrintSettings {
  PrinterSettings printer;
  int timeDisplay = 0;  // 0 hours and minutes, 1 decimal hours
  int weekEnd = 0;      // 0 the week ends on Saturday, 1 on Sunday
  std::string storeId;  // 12 characters; blank leaves the store ID out
};

// One card as it is printed: its texts, whose card it is and the dates of its week.
struct PrintedCard {
  const TimeCard& card;
  std::string name;                      // 24 characters, as on the card
  std::string id;                        // the ID#, 8 characters
  int slot = 1;                          // the associate slot, printed as the card number
  std::array<std::string, 7> weekDates;  // mm-dd-yyyy, first to last day of the week
};

// The text of a punch or correction cell: hours:minutes (08:30 wide, 0830 narrow) or decimal
// hours (08.5, 08.75, 08.00 wide; 08.5, 0875, 0800 narrow).
std::string PrintedCellText(const std::string& stored, int timeDisplay, bool wide);

// A text as the printer and the exported files get it: control characters (a zero byte, a
// line or page feed that found its way into a card) become blanks, so the line layout holds
// whatever the card holds.
std::string Printable(std::string_view text);

// A number as the suite prints one: a leading blank when it is not negative, a trailing blank.
std::string PrintedNumber(long long value);

// Collects the pieces of a card, line by line: each line with its line end (the extra
// line-end string, if any, then CR LF), the blank lines, the form feed.
class CardLines {
 public:
  explicit CardLines(std::string extraLineEnd) : extra_(std::move(extraLineEnd)) {}

  void Text(std::string_view text) { line_ += text; }
  // Blanks up to the column (from 1); a line already past it ends and the next is padded.
  void MoveTo(int column);
  // The usual line end: the extra line-end string, then CR LF.
  void EndLine() { Flush(extra_); }
  // CR LF alone.
  void EndLineBare() { Flush(""); }
  void BlankLines(int count) {
    for (int i = 0; i < count; ++i) EndLine();
  }
  void FormFeed() { pieces_.emplace_back("\f"); }
  const std::string& Extra() const { return extra_; }
  std::vector<std::string> Take() { return std::move(pieces_); }

 private:
  void Flush(std::string_view ending);

  std::string extra_;
  std::string line_;
  std::vector<std::string> pieces_;
};

// The card's texts, made printable once.
struct CardTexts {
  std::array<std::array<std::array<std::string, 9>, 7>, 4> cells;  // [row][day][slot] as printed
  std::array<std::string, 8> reasons;                              // 1-7, 12 characters each
  std::array<std::string, 8> totals;                               // days 0-6, the week 7
  std::string name;
  std::string id;
  std::array<std::string, 7> dates;
  std::string storeId;
  bool showStoreId = false;  // the store ID has more than blanks
};

// wideCells: the cells of the wide layout (08:30, 08.75) rather than the narrow one (0830,
// 0875); wideTotals: the totals with their separator (5 characters) rather than 4 digits.
CardTexts PrepareCardTexts(const PrintedCard& printed, const CardPrintSettings& settings, bool wideCells,
                           bool wideTotals);

// Whether a corrector text names a supervisor (its value is not 0).
bool CorrectorShown(const std::string& corrector);

// The wide layout of 77 columns: the heading, four lines a day, the totals and the note on
// the time display (kWideCardLines lines).
void WideCardLayout(CardLines& out, const PrintedCard& printed, const CardTexts& texts,
                    const CardPrintSettings& settings);

inline constexpr int kWideCardLines = 35;

}  // namespace shiftlog
