#include "layouts/card_lines.h"

#include <cmath>
#include <cstdio>

#include "store/weeks.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

// BASIC's LEFT$ and RIGHT$: as many characters as there are, up to n.
std::string Left(std::string_view text, size_t n) {
  return std::string(text.substr(0, n));
}
std::string Right(std::string_view text, size_t n) {
  return std::string(text.size() > n ? text.substr(text.size() - n) : text);
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

}  // namespace

std::string Printable(std::string_view text) {
  std::string printable(text);
  for (char& c : printable) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte == 127) c = ' ';
  }
  return printable;
}

std::string PrintedNumber(long long value) {
  return NumberText(value) + " ";
}

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

void CardLines::MoveTo(int column) {
  const size_t before = static_cast<size_t>(column - 1);
  if (line_.size() > before) EndLine();
  line_.resize(before, ' ');
}

void CardLines::Flush(std::string_view ending) {
  line_ += ending;
  line_ += "\r\n";
  pieces_.push_back(std::move(line_));
  line_.clear();
}

bool CorrectorShown(const std::string& corrector) {
  return NumericValue(corrector) != 0;
}

CardTexts PrepareCardTexts(const PrintedCard& printed, const CardPrintSettings& settings, bool wideCells,
                           bool wideTotals) {
  CardTexts texts;
  const TimeCard& card = printed.card;
  for (int day = 0; day < 7; ++day) {
    for (int slot = 1; slot <= 8; ++slot) {
      for (int row : {kPunchRow, kCorrectionRow}) {
        texts.cells[row][day][slot] =
            PrintedCellText(Printable(card.Text(row, day, slot)), settings.timeDisplay, wideCells);
      }
      texts.cells[kCorrectorRow][day][slot] = Printable(card.Text(kCorrectorRow, day, slot));
    }
  }
  for (int day = 1; day <= 7; ++day) texts.reasons[day] = TextField(Printable(card.reasons[day]), 12);
  texts.totals = WorkedTimeTotals(card, settings.timeDisplay, wideTotals);
  texts.name = Printable(printed.name.substr(0, 24));
  texts.id = Printable(printed.id.substr(0, 8));
  for (int day = 0; day < 7; ++day) texts.dates[day] = Printable(printed.weekDates[day]);
  texts.storeId = Printable(settings.storeId.substr(0, 12));
  texts.showStoreId = !TrimBlanks(texts.storeId).empty();
  return texts;
}

void WideCardLayout(CardLines& out, const PrintedCard& printed, const CardTexts& texts,
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

}  // namespace shiftlog
