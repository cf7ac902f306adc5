#include "layouts/card_printout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "layouts/export_cards.h"

namespace shiftlog {
namespace {

const std::array<std::string, 7> kSaturdayWeek = {"12-09-2012", "12-10-2012", "12-11-2012", "12-12-2012",
                                                  "12-13-2012", "12-14-2012", "12-15-2012"};
const std::array<std::string, 7> kSundayWeek = {"12-10-2012", "12-11-2012", "12-12-2012", "12-13-2012",
                                                "12-14-2012", "12-15-2012", "12-16-2012"};

// Punches, corrections with their correctors (12 is wider than a narrow cell), odd minutes,
// reasons, and today's row trimmed as the punch screen leaves it.
TimeCard SampleCard() {
  TimeCard card;
  const struct {
    int row, day, slot;
    const char* text;
  } cells[] = {{kPunchRow, 0, 1, "08:00"}, {kPunchRow, 0, 2, "12:30"},      {kPunchRow, 0, 3, "13:15"},
               {kPunchRow, 0, 4, "17:45"}, {kPunchRow, 2, 1, "09:01"},      {kPunchRow, 2, 2, "17:59"},
               {kPunchRow, 3, 1, "07:03"}, {kCorrectionRow, 3, 2, "15:30"}, {kCorrectorRow, 3, 2, "   7"},
               {kPunchRow, 6, 1, "10:00"}, {kCorrectionRow, 6, 1, "09:45"}, {kCorrectorRow, 6, 1, "  12"},
               {kPunchRow, 6, 2, ""}};
  for (const auto& c : cells) card.Text(c.row, c.day, c.slot) = c.text;
  card.reasons[3] = "SICK AM     ";
  card.reasons[7] = "LATE BUS    ";
  return card;
}

CardPrintSettings Settings(int timeDisplay, int setting8, const std::string& storeId) {
  CardPrintSettings settings;
  settings.printer[8] = setting8;
  settings.timeDisplay = timeDisplay;
  settings.storeId = storeId;
  return settings;
}

// SHIFTLOG_UPDATE_GOLDEN=1 writes the golden printouts anew; read every new one before committing.
TEST(CardPrintout, MatchesTheGoldenPrintoutsByteForByte) {
  const struct {
    const char* file;
    bool wide, reasons;
    int timeDisplay, weekEnd;
    const char* storeId;
    std::array<int, 6> paper;  // printer settings 2 to 7
    const char* extraLineEnd;
  } cases[] = {
      // Page printer, hours:minutes, top margin and a form feed.
      {"wide_hours_form_feed.prn", true, true, 0, 0, "STORE 0042  ", {0, 0, 2, 0, 0, 1}, ""},
      // Decimal hours, a week ending Sunday, an empty store ID, page mode padded with blank lines.
      {"wide_decimal_sunday_fill.prn", true, true, 1, 1, "            ", {0, 0, 1, 40, 6, 0}, ""},
      // Receipt printer on continuous paper with the extra line feed.
      {"narrow_hours_continuous_lf.prn", false, true, 0, 0, "STORE 0042  ", {1, 3, 5, 0, 0, 0}, "\n"},
      // Decimal hours, no reasons (no RSN. line), a blank store ID, page mode fill.
      {"narrow_decimal_sunday_fill.prn", false, false, 1, 1, "   ", {0, 0, 0, 30, 10, 0}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    TimeCard card = SampleCard();
    if (!c.reasons) card.reasons.fill(std::string(12, ' '));
    CardPrintSettings settings = Settings(c.timeDisplay, c.wide ? 1 : 2, c.storeId);
    settings.printer[1] = 1;
    for (int n = 2; n <= 7; ++n) settings.printer[n] = c.paper[n - 2];
    settings.printer.extraLineEnd = c.extraLineEnd;
    settings.weekEnd = c.weekEnd;
    std::string bytes;
    const PrintedCard printed{card, "BOB BAKER               ", "00001234", 7,
                              c.weekEnd ? kSundayWeek : kSaturdayWeek};
    for (const std::string& piece : CardPrintout(printed, settings)) bytes += piece;
    const std::filesystem::path golden = std::filesystem::path(__FILE__).parent_path() / "golden" / c.file;
    if (std::getenv("SHIFTLOG_UPDATE_GOLDEN") != nullptr) std::ofstream(golden, std::ios::binary) << bytes;
    std::ifstream in(golden, std::ios::binary);
    ASSERT_TRUE(in) << "missing " << golden;
    EXPECT_EQ(bytes, std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  }
}

TEST(CardPrintout, LayoutsKeepTheirWidthsWhateverTheCardHolds) {
  // Control characters and zero bytes (a damaged record, a reason typed with a line feed)
  // neither break a line nor feed a page; characters above 127 print as they are.
  TimeCard card = SampleCard();
  card.reasons[1] = std::string("A\nB\fC\rD\0E\x1b", 10) + "\x8e\x99";
  card.Text(kPunchRow, 1, 1) = std::string(5, '\0');
  card.Text(kCorrectionRow, 1, 1) = "\r\n:\f\x7f";
  card.Text(kCorrectorRow, 1, 1) = "\n255";
  for (const int mode : {0, 1, 2, 3}) {
    const bool wide = mode < 2;
    SCOPED_TRACE(std::string(wide ? "wide" : "narrow") + (mode % 2 ? " decimal" : " hours"));
    // A store ID of zero bytes reads as blank: no "STORE ID = ".
    const CardPrintSettings settings = Settings(mode % 2, wide ? 1 : 0, std::string(12, '\0'));
    const PrintedCard printed{card, std::string("NAME\nWITH\0BREAKS", 16) + "\x80", "\r\n", 56,
                              kSaturdayWeek};
    std::vector<std::string> lines = CardPrintout(printed, settings);
    ASSERT_EQ(lines.size(), wide ? 35u : 39u);  // the narrow card has its RSN. line here
    for (std::string& line : lines) {
      ASSERT_EQ(line.substr(line.size() - 2), "\r\n");
      line.resize(line.size() - 2);
      EXPECT_EQ(line.find_first_of(std::string("\r\n\f\0\x1b\x7f", 6)), std::string::npos) << line;
      EXPECT_EQ(line.find("STORE ID"), std::string::npos);
    }
    // Every line of the grid keeps its width (the narrow day lines carry 12 more cells).
    for (size_t i = wide ? 2 : 4; i < (wide ? 33u : 32u); ++i)
      EXPECT_EQ(lines[i].size(), wide ? 77u : (i % 4 == 0 ? 51u : 39u)) << i << ": " << lines[i];
    EXPECT_EQ(wide ? lines[6].substr(0, 13) : lines[37].substr(0, 9),
              wide ? "A B C D E \x8e\x99|" : "RSN.|A B ");
  }
}

// Ordinary times are pinned by the golden printouts in both displays and layouts. Blank and
// empty cells (the DATA card shows them bare) and texts no punch ever stores, never a crash:
TEST(CardPrintout, CellTextsInBothDisplaysAndLayouts) {
  // clang-format off
  const struct { const char* stored; int display; const char *wide, *narrow; } cases[] = {
      {"     ", 1, "  ", "  "}, {"     ", 0, "     ", "    "}, {"", 1, "", ""}, {"", 0, "", ""},
      {"8:5", 0, "8:8:5", "8::5"}, {"xx:99", 1, "xx1.65", "xx65"}, {"07:-5", 1, "07-.09", "0709"}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.stored + "\" display " + std::to_string(c.display));
    EXPECT_EQ(PrintedCellText(c.stored, c.display, true), c.wide);
    EXPECT_EQ(PrintedCellText(c.stored, c.display, false), c.narrow);
  }
}

// Settings 5 + 6 shorter than the card add no fill; bytes of 255 give 255 lines, then 475.
TEST(CardPrintout, FillNeverGoesBelowNothingAndTakesTheLargestSettings) {
  CardPrintSettings settings = Settings(0, 1, "");
  settings.printer[5] = 20;
  settings.printer[6] = 10;
  const TimeCard card;
  const PrintedCard printed{card, "N", "I", 1, kSaturdayWeek};
  EXPECT_EQ(CardPrintout(printed, settings).size(), 35u);
  for (const int n : {4, 5, 6}) settings.printer[n] = 255;
  const std::vector<std::string> pieces = CardPrintout(printed, settings);
  ASSERT_EQ(pieces.size(), 255u + 35u + 475u);
  EXPECT_EQ(pieces[254] + pieces.back(), "\r\n\r\n");
  EXPECT_EQ(pieces[255].substr(0, 15), "WEEK ENDING ON ");
}

// The exported TEXT and DATA cards.

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(bytes.substr(start, end - start));
  EXPECT_EQ(start, bytes.size()) << "bytes after the last CR LF";
  return lines;
}

// The fields of a DATA line as a spreadsheet reads them (RFC 4180): a doubled quote inside
// quotes closes and reopens them and keeps one quote.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  char last = 0;
  for (const char c : line) {
    if (c == ',' && !quoted) fields.emplace_back();
    if (c == '"') quoted = !quoted;
    if (c == '"' ? quoted && last == '"' : c != ',' || quoted) fields.back() += c;
    last = c;
  }
  return fields;
}

// The exported cards' sample: Monday 08:00-13:45 corrected to 08:30 by supervisor 12 with a
// reason; Friday 13:00-13:30.
TimeCard ExportCard() {
  TimeCard card;
  card.Text(kPunchRow, 1, 1) = "08:00";
  card.Text(kPunchRow, 1, 2) = "13:45";
  card.Text(kCorrectionRow, 1, 1) = "08:30";
  card.Text(kCorrectorRow, 1, 1) = "   12";
  card.reasons[2] = "LATE BUS    ";
  card.Text(kPunchRow, 5, 1) = "13:00";
  card.Text(kPunchRow, 5, 2) = "13:30";
  return card;
}

std::string Export(ExportKind kind, const CardPrintSettings& settings, const TimeCard& card = ExportCard(),
                   const std::string& name = "MARY SMITH              ", const std::string& id = "00001234",
                   int slot = 7) {
  std::string bytes;
  AppendExportedCard(bytes, kind, PrintedCard{card, name, id, slot, kSaturdayWeek}, settings);
  return bytes;
}

// The four heading lines, the day's line and the footer in hours are the export road's.
TEST(ExportCards, DataCardLineByLine) {
  const std::vector<std::string> lines = Lines(Export(ExportKind::kData, Settings(0, 1, "STORE 42    ")));
  ASSERT_EQ(lines.size(), 4u + 1 + 21 + 2);
  const std::vector<std::string> expected = {
      ",IN,OUT,IN,OUT,IN,OUT,IN,OUT,TIME WORKED",
      "SUNDAY,     ,     ,     ,     ,     ,     ,     ,     ,",
      "12-09-2012,     ,     ,     ,     ,     ,     ,     ,     ,00:00",
      "            ,,,,,,,,,",
      "MONDAY,08:00,13:45,     ,     ,     ,     ,     ,     ,",
      "12-10-2012,08:30,     ,     ,     ,     ,     ,     ,     ,05:15",
      "LATE BUS    ,   12,,,,,,,,",
  };
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[4 + i], expected[i]) << i;
  EXPECT_EQ(lines[lines.size() - 2], ",TOTAL TIME WORKED,05:45");
}

// The cells are the wide card's whatever the printer; the totals follow printer setting 8.
TEST(ExportCards, DecimalCellsTotalsFormAndStoreId) {
  const struct {
    int timeDisplay, setting8;
    const char* storeId;
    const char* friday;       // the punch line of Friday, slots 1 and 2
    const char* fridayTotal;  // the time worked on Friday's date line
    const char* textTotals;   // the TEXT card's TIME WORKED cells of Friday and of the week
  } cases[] = {
      {1, 1, "STORE 42    ", "FRIDAY,13.00,13.5,", "00.50", " 00.50 | 05.75 |"},
      {1, 0, "            ", "FRIDAY,13.00,13.5,", "0050", " 0050  | 0575  |"},
      {0, 2, "", "FRIDAY,13:00,13:30,", "0030", " 0030  | 0545  |"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.friday) + " " + c.fridayTotal);
    const CardPrintSettings settings = Settings(c.timeDisplay, c.setting8, c.storeId);
    const std::vector<std::string> data = Lines(Export(ExportKind::kData, settings));
    const bool storeLine = c.storeId[0] == 'S';
    ASSERT_EQ(data.size(), storeLine ? 28u : 27u);  // no STORE ID line for a blank one
    const size_t friday = (storeLine ? 5 : 4) + 3 * 5;
    EXPECT_EQ(data[friday].substr(0, std::string(c.friday).size()), c.friday);
    EXPECT_EQ(Fields(data[friday + 1])[9], c.fridayTotal);
    const std::vector<std::string> text = Lines(Export(ExportKind::kText, settings));
    ASSERT_EQ(text.size(), static_cast<size_t>(kTextCardLines));
    EXPECT_EQ(text[33].substr(13 + 5 * 8, 8) + text[33].substr(13 + 7 * 8, 8), c.textTotals);
  }
}

// Whatever the printer's margins, feeds and extra line end, the TEXT card is the wide card, then
// empty lines.
TEST(ExportCards, TextCardIsTheWidePrintedCardWithoutPaperHandling) {
  const CardPrintSettings printed = Settings(1, 1, "STORE 42    ");
  CardPrintSettings exported = printed;
  exported.printer[2] = 1;
  exported.printer[3] = 5;
  exported.printer.extraLineEnd = "\n";
  const TimeCard card = ExportCard();
  std::string expected;
  for (const std::string& piece : CardPrintout(PrintedCard{card, "MARY", "1", 17, kSaturdayWeek}, printed))
    expected += piece;
  for (int i = kWideCardLines; i < kTextCardLines; ++i) expected += "\r\n";
  const std::string text = Export(ExportKind::kText, exported, card, "MARY", "1", 17);
  EXPECT_EQ(text, expected);
}

// Ten columns on every line of the grid, whatever the fields hold, is checked by the exporters'
// fuzz target over its seeds.
TEST(ExportCards, FieldsWithCommasOrQuotesAreQuotedAndKeepTheColumns) {
  const std::pair<const char*, const char*> fields[] = {{"SMITH, MARY", "\"SMITH, MARY\""},
                                                        {"SAID \"HI\"", "\"SAID \"\"HI\"\"\""},
                                                        {"\"", "\"\"\"\""},
                                                        {"  PLAIN  ", "  PLAIN  "},
                                                        {"", ""}};
  for (const auto& [text, quoted] : fields) EXPECT_EQ(DataField(text), quoted) << text;

  TimeCard card = ExportCard();
  card.reasons[2] = "SICK, \"FLU\"";
  card.Text(kPunchRow, 3, 1) = "1,:\"0";  // a damaged time
  const std::string name = "SMITH, MARY \"M\"         ";
  const std::vector<std::string> lines =
      Lines(Export(ExportKind::kData, Settings(0, 1, "A,B\"C       "), card, name, "12,34\"  "));
  EXPECT_EQ(Fields(lines[1]), (std::vector<std::string>{"ASSOCIATE: ", "12,34\"  ", name}));
  EXPECT_EQ(Fields(lines[3]), (std::vector<std::string>{"STORE ID = ", "A,B\"C       "}));
  EXPECT_EQ(Fields(lines[10])[0], "SICK, \"FLU\" ");
  EXPECT_EQ(Fields(lines[14])[1], "1,:\"0");
}

}  // namespace
}  // namespace shiftlog
