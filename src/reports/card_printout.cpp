#include "reports/card_printout.h"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "store/weeks.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kFormFeed = "\f";
constexpr std::string_view kNarrowHeading = " IN | OUT| IN | OUT| IN | OUT| IN | OUT";

// BASIC's LEFT$ and RIGHT$: as many characters as there are, up to n.
std::string Left(std::string_view text, size_t n) {
  return std::string(text.substr(0, n));
}
std::string Right(std::string_view text, size_t n) {
  return std::string(text.size() > n ? text.substr(text.size() - n) : text);
}

// A text as the printer gets it: control characters (a zero byte, a line or page feed that
// found its way into a card) print as blanks, so the line layout holds whatever the card holds.
std::string Printable(std::string_view text) {
  std::string printable(text);
  for (char& c : printable) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte == 127) c = ' ';
  }
  return printable;
}

// A number as the suite prints one: a leading blank when it is not negative, a trailing blank.
std::string PrintedNumber(long long value) {
  return NumberText(value) + " ";
}

// The shortest text of hundredths/100 in single precision, without the zero before the point
// (.5, .05, .75; 1.02 from an odd minutes text of 61).
std::string DecimalFraction(long long hundredths) {
  char text[32];
  std::snprintf(text, sizeof text, "%.7g", static_cast<double>(static_cast<float>(hundredths) / 100.0f));
  std::string fraction = text;
  if (fraction.rfind("0.", 0) == 0) fraction.erase(0, 1);
  if (fraction.rfind("-0.", 0) == 0) fraction.erase(1, 1);
  return fraction;
}

// Collects the pieces of a printout, line by line.
class Printout {
 public:
  explicit Printout(std::string extraLineEnd) : extra_(std::move(extraLineEnd)) {}

  void Text(std::string_view text) { line_ += text; }
  // Blanks up to the column (from 1); a line already past it ends and the next is padded.
  void MoveTo(int column) {
    const size_t before = static_cast<size_t>(column - 1);
    if (line_.size() > before) EndLine();
    line_.resize(before, ' ');
  }
  // The usual line end: the extra line-end string, then CR LF.
  void EndLine() { Flush(extra_); }
  // CR LF alone.
  void EndLineBare() { Flush(""); }
  void BlankLines(int count) {
    for (int i = 0; i < count; ++i) EndLine();
  }
  void FormFeed() { pieces_.emplace_back(kFormFeed); }
  const std::string& Extra() const { return extra_; }
  std::vector<std::string> Take() { return std::move(pieces_); }

 private:
  void Flush(std::string_view ending) {
    line_ += ending;
    line_ += kLineEnd;
    pieces_.push_back(std::move(line_));
    line_.clear();
  }

  std::string extra_;
  std::string line_;
  std::vector<std::string> pieces_;
};

// The card's texts, cleaned once for printing.
struct CardTexts {
  std::array<std::array<std::array<std::string, 9>, 7>, 4> cells;  // [row][day][slot] as printed
  std::array<std::string, 8> reasons;
  std::array<std::string, 8> totals;
  std::string name;
  std::string id;
  std::array<std::string, 7> dates;
  std::string storeId;
  bool showStoreId = false;
};

bool CorrectorShown(const std::string& corrector) {
  return NumericValue(corrector) != 0;
}

CardTexts PrepareTexts(const PrintedCard& printed, const CardPrintSettings& settings, bool wide) {
  CardTexts texts;
  const TimeCard& card = printed.card;
  for (int day = 0; day < 7; ++day) {
    for (int slot = 1; slot <= 8; ++slot) {
      for (int row : {kPunchRow, kCorrectionRow}) {
        texts.cells[row][day][slot] =
            PrintedCellText(Printable(card.Text(row, day, slot)), settings.timeDisplay, wide);
      }
      texts.cells[kCorrectorRow][day][slot] = Printable(card.Text(kCorrectorRow, day, slot));
    }
  }
  for (int day = 1; day <= 7; ++day) texts.reasons[day] = TextField(Printable(card.reasons[day]), 12);
  texts.totals = WorkedTimeTotals(card, settings.timeDisplay, wide);
  texts.name = Printable(printed.name.substr(0, 24));
  texts.id = Printable(printed.id.substr(0, 8));
  for (int day = 0; day < 7; ++day) texts.dates[day] = Printable(printed.weekDates[day]);
  texts.storeId = Printable(settings.storeId.substr(0, 12));
  texts.showStoreId = !TrimBlanks(texts.storeId).empty();
  return texts;
}

void WideLayout(Printout& out, const PrintedCard& printed, const CardTexts& texts,
                const CardPrintSettings& settings) {
  const std::string hyphens(77, '-');
  out.Text("WEEK ENDING ON " + texts.dates[6] + "      ASSOCIATE: " + texts.id + " " + texts.name);
  out.EndLine();
  out.MoveTo(18);
  out.Text("CARD #" + PrintedNumber(printed.slot));
  if (texts.showStoreId) {
    out.MoveTo(50);
    out.Text("STORE ID = " + texts.storeId);
  }
  out.EndLine();
  out.Text("            |");
  for (int pair = 0; pair < 4; ++pair) out.Text("   IN  |  OUT  |");
  out.EndLine();
  out.Text(hyphens);
  out.EndLine();

  for (int day = 0; day < 7; ++day) {
    out.Text(TextField(DayName(day, settings.weekEnd), 11) + " |");
    for (int slot = 1; slot <= 8; ++slot)
      out.Text(" " + TextField(texts.cells[kPunchRow][day][slot], 6) + "|");
    out.EndLine();
    out.Text(TextField(texts.dates[day], 11) + " |");
    for (int slot = 1; slot <= 8; ++slot) {
      out.Text(" " + TextField(texts.cells[kCorrectionRow][day][slot], 6) + "|");
    }
    out.EndLine();
    out.Text(texts.reasons[day + 1] + "|");
    for (int slot = 1; slot <= 8; ++slot) {
      const std::string& corrector = texts.cells[kCorrectorRow][day][slot];
      out.Text((CorrectorShown(corrector) ? TextField(corrector, 7) : std::string(7, ' ')) + "|");
    }
    out.EndLine();
    out.Text(hyphens);
    out.EndLine();
  }

  out.Text("            |");
  for (int total = 0; total < 8; ++total)
    out.Text("  " + TextField(TotalLabel(total, settings.weekEnd), 3) + "  |");
  out.EndLine();
  out.Text("TIME WORKED |");
  for (int total = 0; total < 8; ++total) out.Text(" " + TextField(texts.totals[total], 5) + " |");
  out.EndLine();
  out.Text(settings.timeDisplay != 0 ? "TIME IS DISPLAYED IN DECIMAL TIME"
                                     : "TIME IS DISPLAYED IN HOURS AND MINUTES");
  out.EndLine();
}

// Eight narrow cells of width 4, with a bar between each two.
std::string NarrowRow(const std::array<std::string, 9>& cells) {
  std::string row;
  for (int slot = 1; slot <= 8; ++slot) {
    if (slot > 1) row += '|';
    row += TextField(cells[slot], 4);
  }
  return row;
}

void NarrowLayout(Printout& out, const PrintedCard& printed, const CardTexts& texts,
                  const CardPrintSettings& settings) {
  const std::string hyphens(39, '-');
  out.Text("WEEK ENDING ON " + texts.dates[6]);
  out.EndLineBare();
  out.Text(texts.id + " " + texts.name);
  out.EndLine();
  out.Text("CARD #" + PrintedNumber(printed.slot) + "   ");
  if (texts.showStoreId) out.Text("   STORE ID = " + texts.storeId);
  out.EndLine();
  out.Text(kNarrowHeading);
  out.EndLine();

  for (int day = 0; day < 7; ++day) {
    out.Text(TextField(texts.dates[day], 11) + " " + TextField(DayName(day, settings.weekEnd), 9) + " " +
             std::string(17, '-'));
    // The receipt printers' day line carries the extra line end inside the line.
    out.Text(TextField(out.Extra(), 11) + " ");
    out.EndLineBare();
    out.Text(NarrowRow(texts.cells[kPunchRow][day]));
    out.EndLine();
    out.Text(NarrowRow(texts.cells[kCorrectionRow][day]));
    out.EndLine();
    std::array<std::string, 9> correctors;
    for (int slot = 1; slot <= 8; ++slot) {
      const std::string& corrector = texts.cells[kCorrectorRow][day][slot];
      correctors[slot] = CorrectorShown(corrector) ? Left(corrector, 4) : std::string();
    }
    out.Text(NarrowRow(correctors));
    out.EndLine();
  }

  out.Text(hyphens);
  out.EndLine();
  out.Text(kNarrowHeading);
  out.EndLine();
  out.Text(hyphens);
  out.EndLine();
  std::string labels;
  std::string totals;
  for (int total = 0; total < 8; ++total) {
    if (total > 0) {
      labels += '|';
      totals += '|';
    }
    labels += " " + TextField(TotalLabel(total, settings.weekEnd), 3);
    totals += TextField(texts.totals[total], 4);
  }
  out.Text(labels);
  out.EndLine();
  out.Text(totals);
  out.EndLine();
  std::string reasons;
  for (int day = 1; day <= 7; ++day) reasons += texts.reasons[day];
  if (!TrimBlanks(reasons).empty()) {
    out.Text("RSN.");
    for (int day = 1; day <= 7; ++day) out.Text("|" + Left(texts.reasons[day], 4));
    out.EndLine();
  }
  if (settings.timeDisplay != 0) {
    out.Text("TIME IS DISPLAYED IN DECIMAL TIME");
    out.EndLineBare();
  } else {
    out.Text("TIME DISPLAYED IS IN HOURS AND MINUTES");
    out.EndLine();
  }
}

}  // namespace

std::string PrintedCellText(const std::string& stored, int timeDisplay, bool wide) {
  if (timeDisplay == 0) return Left(stored, 2) + Right(stored, wide ? 3 : 2);
  if (TrimBlanks(stored).empty()) return Left(stored, 2);
  const long long minutes = static_cast<long long>(std::nearbyint(NumericValue(Right(stored, 2))));
  // Hundredths of an hour, cut off: 30 minutes give 50, 59 give 98.
  const long long numerator = 5 * minutes;
  const long long hundredths = numerator >= 0 ? numerator / 3 : -((-numerator + 2) / 3);
  std::string fraction;
  if (minutes == 0) {
    fraction = wide ? ".00" : "00";
  } else {
    fraction = DecimalFraction(hundredths);
    if (!wide) fraction = Right(fraction, 2);
  }
  return Left(stored, 2) + fraction;
}

std::vector<std::string> CardPrintout(const PrintedCard& printed, const CardPrintSettings& settings) {
  const PrinterSettings& printer = settings.printer;
  const bool wide = printer[8] == 1;
  const bool continuous = printer[2] != 0;
  Printout out(printer.extraLineEnd);
  if (!continuous) out.BlankLines(printer[4]);
  const CardTexts texts = PrepareTexts(printed, settings, wide);
  if (wide) {
    WideLayout(out, printed, texts, settings);
  } else {
    NarrowLayout(out, printed, texts, settings);
  }
  if (continuous) {
    out.BlankLines(printer[3]);
  } else if (printer[7] != 0) {
    out.FormFeed();
  } else {
    out.BlankLines(printer[5] + printer[6] - (wide ? kWideCardLines : kNarrowCardLines));
  }
  return out.Take();
}

}  // namespace shiftlog
