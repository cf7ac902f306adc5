#include "layouts/card_printout.h"

#include <string_view>

#include "store/weeks.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

constexpr std::string_view kNarrowHeading = " IN | OUT| IN | OUT| IN | OUT| IN | OUT";

std::string Left(std::string_view text, size_t n) {
  return std::string(text.substr(0, n));
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

void NarrowLayout(CardLines& out, const PrintedCard& printed, const CardTexts& texts,
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

std::vector<std::string> CardPrintout(const PrintedCard& printed, const CardPrintSettings& settings) {
  const PrinterSettings& printer = settings.printer;
  const bool wide = printer[8] == 1;
  const bool continuous = printer[2] != 0;
  CardLines out(printer.extraLineEnd);
  if (!continuous) out.BlankLines(printer[4]);
  const CardTexts texts = PrepareCardTexts(printed, settings, wide, wide);
  if (wide) {
    WideCardLayout(out, printed, texts, settings);
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
