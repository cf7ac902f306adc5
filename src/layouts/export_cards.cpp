#include "layouts/export_cards.h"

#include "store/weeks.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

void AppendTextCard(std::string& out, const PrintedCard& printed, const CardPrintSettings& settings,
                    const CardTexts& texts) {
  CardLines lines("");
  WideCardLayout(lines, printed, texts, settings);
  lines.BlankLines(kTextCardLines - kWideCardLines);
  for (const std::string& line : lines.Take()) out += line;
}

// One DATA line: the fields quoted where they must be, separated by commas.
class DataLine {
 public:
  explicit DataLine(std::string& out) : out_(out) {}
  DataLine& Field(std::string_view text) {
    if (!first_) out_ += ',';
    first_ = false;
    out_ += DataField(text);
    return *this;
  }
  void End() { out_ += kLineEnd; }

 private:
  std::string& out_;
  bool first_ = true;
};

void AppendDataCard(std::string& out, const PrintedCard& printed, const CardPrintSettings& settings,
                    const CardTexts& texts) {
  DataLine(out).Field("WEEK ENDING ON ").Field(texts.dates[6]).End();
  DataLine(out).Field("ASSOCIATE: ").Field(texts.id).Field(texts.name).End();
  DataLine(out).Field("CARD #").Field(PrintedNumber(printed.slot)).End();
  if (texts.showStoreId) DataLine(out).Field("STORE ID = ").Field(texts.storeId).End();
  DataLine heading(out);
  heading.Field("");
  for (int pair = 0; pair < 4; ++pair) heading.Field("IN").Field("OUT");
  heading.Field("TIME WORKED").End();

  for (int day = 0; day < 7; ++day) {
    // The day line ends with a comma: its TIME WORKED column stays empty.
    DataLine punches(out);
    punches.Field(DayName(day, settings.weekEnd));
    for (int slot = 1; slot <= 8; ++slot) punches.Field(texts.cells[kPunchRow][day][slot]);
    punches.Field("").End();
    DataLine corrections(out);
    corrections.Field(texts.dates[day]);
    for (int slot = 1; slot <= 8; ++slot) corrections.Field(texts.cells[kCorrectionRow][day][slot]);
    corrections.Field(texts.totals[day]).End();
    DataLine correctors(out);
    correctors.Field(texts.reasons[day + 1]);
    for (int slot = 1; slot <= 8; ++slot) {
      const std::string& corrector = texts.cells[kCorrectorRow][day][slot];
      correctors.Field(CorrectorShown(corrector) ? corrector.substr(0, 7) : std::string());
    }
    correctors.Field("").End();
  }
  DataLine(out).Field("").Field("TOTAL TIME WORKED").Field(texts.totals[7]).End();
  DataLine(out)
      .Field(settings.timeDisplay != 0 ? "TIME IS DISPLAYED IN DECIMAL TIME"
                                       : "TIME IS DISPLAYED IN HOURS AND MINUTES")
      .End();
}

}  // namespace

std::string DataField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  quoted += '"';
  return quoted;
}

void AppendExportedCard(std::string& out, ExportKind kind, const PrintedCard& card,
                        const CardPrintSettings& settings) {
  // The cells are those of the wide printed card whatever the printer; the totals follow
  // printer setting 8.
  const CardTexts texts = PrepareCardTexts(card, settings, true, settings.printer[8] == 1);
  if (kind == ExportKind::kText) {
    AppendTextCard(out, card, settings, texts);
  } else {
    AppendDataCard(out, card, settings, texts);
  }
}

}  // namespace shiftlog
