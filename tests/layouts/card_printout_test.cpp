#include "layouts/card_printout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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
    CardPrintSettings settings;
    settings.printer[1] = 1;
    for (int n = 2; n <= 7; ++n) settings.printer[n] = c.paper[n - 2];
    settings.printer[8] = c.wide ? 1 : 2;
    settings.printer.extraLineEnd = c.extraLineEnd;
    settings.timeDisplay = c.timeDisplay;
    settings.weekEnd = c.weekEnd;
    settings.storeId = c.storeId;
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
    CardPrintSettings settings;
    settings.printer[8] = wide ? 1 : 0;
    settings.timeDisplay = mode % 2;
    settings.storeId = std::string(12, '\0');  // reads as blank: no "STORE ID = "
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

// The last three: texts no punch ever stores still give a cell of their own, never a crash.
TEST(CardPrintout, CellTextsInBothDisplaysAndLayouts) {
  // clang-format off
  const struct { const char* stored; int display; const char *wide, *narrow; } cases[] = {
      {"08:30", 0, "08:30", "0830"}, {"08:00", 1, "08.00", "0800"}, {"08:30", 1, "08.5", "08.5"},
      {"08:45", 1, "08.75", "0875"}, {"08:59", 1, "08.98", "0898"}, {"08:01", 1, "08.01", "0801"},
      {"08:03", 1, "08.05", "0805"}, {"17:20", 1, "17.33", "1733"}, {"     ", 1, "  ", "  "},
      {"     ", 0, "     ", "    "}, {"", 1, "", ""},               {"", 0, "", ""},
      {"8:5", 0, "8:8:5", "8::5"},   {"xx:99", 1, "xx1.65", "xx65"}, {"07:-5", 1, "07-.09", "0709"}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.stored + "\" display " + std::to_string(c.display));
    EXPECT_EQ(PrintedCellText(c.stored, c.display, true), c.wide);
    EXPECT_EQ(PrintedCellText(c.stored, c.display, false), c.narrow);
  }
}

// Settings 5 + 6 shorter than the card add no fill; bytes of 255 give 255 lines, then 475.
TEST(CardPrintout, FillNeverGoesBelowNothingAndTakesTheLargestSettings) {
  CardPrintSettings settings;
  settings.printer[5] = 20;
  settings.printer[6] = 10;
  settings.printer[8] = 1;
  const TimeCard card;
  const PrintedCard printed{card, "N", "I", 1, kSaturdayWeek};
  EXPECT_EQ(CardPrintout(printed, settings).size(), 35u);
  for (const int n : {4, 5, 6}) settings.printer[n] = 255;
  const std::vector<std::string> pieces = CardPrintout(printed, settings);
  ASSERT_EQ(pieces.size(), 255u + 35u + 475u);
  EXPECT_EQ(pieces[254], "\r\n");
  EXPECT_EQ(pieces[255].substr(0, 15), "WEEK ENDING ON ");
  EXPECT_EQ(pieces.back(), "\r\n");
}

}  // namespace
}  // namespace shiftlog
