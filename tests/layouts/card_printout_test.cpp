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

namespace fs = std::filesystem;

// The expected printouts are checked in as bytes. SHIFTLOG_UPDATE_GOLDEN=1 writes them anew
// from the code; every new version is read line by line before it is committed.
fs::path GoldenFile(const std::string& name) {
  return fs::path(__FILE__).parent_path() / "golden" / name;
}

std::string Joined(const std::vector<std::string>& pieces) {
  std::string bytes;
  for (const std::string& piece : pieces) bytes += piece;
  return bytes;
}

// A card with a bit of everything: punches, corrections with their correctors (one of them
// 12, wider than the narrow layout's cells), odd minutes and day reasons.
TimeCard SampleCard() {
  TimeCard card;
  card.Text(kPunchRow, 0, 1) = "08:00";
  card.Text(kPunchRow, 0, 2) = "12:30";
  card.Text(kPunchRow, 0, 3) = "13:15";
  card.Text(kPunchRow, 0, 4) = "17:45";
  card.Text(kPunchRow, 2, 1) = "09:01";
  card.Text(kPunchRow, 2, 2) = "17:59";
  card.Text(kPunchRow, 3, 1) = "07:03";
  card.Text(kCorrectionRow, 3, 2) = "15:30";
  card.Text(kCorrectorRow, 3, 2) = "   7";
  card.Text(kPunchRow, 6, 1) = "10:00";
  card.Text(kCorrectionRow, 6, 1) = "09:45";
  card.Text(kCorrectorRow, 6, 1) = "  12";
  card.Text(kPunchRow, 6, 2) = "";  // today's row as the punch screen leaves it: trimmed
  card.reasons[3] = "SICK AM     ";
  card.reasons[7] = "LATE BUS    ";
  return card;
}

const std::array<std::string, 7> kSaturdayWeek = {"12-09-2012", "12-10-2012", "12-11-2012", "12-12-2012",
                                                  "12-13-2012", "12-14-2012", "12-15-2012"};
const std::array<std::string, 7> kSundayWeek = {"12-10-2012", "12-11-2012", "12-12-2012", "12-13-2012",
                                                "12-14-2012", "12-15-2012", "12-16-2012"};

struct GoldenCase {
  const char* file;
  bool wide;
  int timeDisplay;
  int weekEnd;
  const char* storeId;
  bool reasons;
  // printer settings 2 to 7 and the extra line end
  int continuous, feedAfter, topMargin, fill5, fill6, formFeed;
  const char* extraLineEnd;
};

const GoldenCase kGoldenCases[] = {
    // Page printer, hours:minutes, top margin and a form feed.
    {"wide_hours_form_feed.prn", true, 0, 0, "STORE 0042  ", true, 0, 0, 2, 0, 0, 1, ""},
    // Decimal hours, a week ending Sunday, an empty store ID, page mode padded with blank lines.
    {"wide_decimal_sunday_fill.prn", true, 1, 1, "            ", true, 0, 0, 1, 40, 6, 0, ""},
    // Receipt printer on continuous paper with the extra line feed.
    {"narrow_hours_continuous_lf.prn", false, 0, 0, "STORE 0042  ", true, 1, 3, 5, 0, 0, 0, "\n"},
    // Decimal hours, no reasons (no RSN. line), a blank store ID, page mode fill.
    {"narrow_decimal_sunday_fill.prn", false, 1, 1, "   ", false, 0, 0, 0, 30, 10, 0, ""},
};

CardPrintSettings SettingsOf(const GoldenCase& c) {
  CardPrintSettings settings;
  settings.printer[1] = 1;
  settings.printer[2] = c.continuous;
  settings.printer[3] = c.feedAfter;
  settings.printer[4] = c.topMargin;
  settings.printer[5] = c.fill5;
  settings.printer[6] = c.fill6;
  settings.printer[7] = c.formFeed;
  settings.printer[8] = c.wide ? 1 : 2;
  settings.printer.extraLineEnd = c.extraLineEnd;
  settings.timeDisplay = c.timeDisplay;
  settings.weekEnd = c.weekEnd;
  settings.storeId = c.storeId;
  return settings;
}

TEST(CardPrintout, MatchesTheGoldenPrintoutsByteForByte) {
  const bool update = std::getenv("SHIFTLOG_UPDATE_GOLDEN") != nullptr;
  for (const GoldenCase& c : kGoldenCases) {
    SCOPED_TRACE(c.file);
    TimeCard card = SampleCard();
    if (!c.reasons) card.reasons.fill(std::string(12, ' '));
    const PrintedCard printed{card, "BOB BAKER               ", "00001234", 7,
                              c.weekEnd ? kSundayWeek : kSaturdayWeek};
    const std::string bytes = Joined(CardPrintout(printed, SettingsOf(c)));
    if (update) std::ofstream(GoldenFile(c.file), std::ios::binary) << bytes;
    std::ifstream in(GoldenFile(c.file), std::ios::binary);
    ASSERT_TRUE(in) << "missing " << GoldenFile(c.file);
    const std::string golden{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(bytes, golden);
  }
}

TEST(CardPrintout, LayoutsKeepTheirWidthsWhateverTheCardHolds) {
  // Control characters and zero bytes (a damaged record, a reason typed with a line feed)
  // must neither break a line nor feed a page; characters above 127 print as they are.
  TimeCard card = SampleCard();
  card.reasons[1] = std::string("A\nB\fC\rD\0E\x1b", 10) + "\x8e\x99";
  card.Text(kPunchRow, 1, 1) = std::string(5, '\0');
  card.Text(kCorrectionRow, 1, 1) = "\r\n:\f\x7f";
  card.Text(kCorrectorRow, 1, 1) = "\n255";
  for (const bool wide : {true, false}) {
    for (const int display : {0, 1}) {
      SCOPED_TRACE(std::string(wide ? "wide" : "narrow") + (display ? " decimal" : " hours"));
      CardPrintSettings settings;
      settings.printer[8] = wide ? 1 : 0;
      settings.timeDisplay = display;
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
      for (size_t i = wide ? 2 : 4; i < (wide ? 33u : 32u); ++i) {
        EXPECT_EQ(lines[i].size(), wide ? 77u : (i % 4 == 0 ? 51u : 39u)) << i << ": " << lines[i];
      }
      EXPECT_EQ(wide ? lines[6].substr(0, 13) : lines[37].substr(0, 9),
                wide ? "A B C D E \x8e\x99|" : "RSN.|A B ");
    }
  }
}

TEST(CardPrintout, CellTextsInBothDisplaysAndLayouts) {
  struct Case {
    const char* stored;
    int display;
    const char* wide;
    const char* narrow;
  };
  const Case cases[] = {
      {"08:30", 0, "08:30", "0830"},
      {"08:00", 1, "08.00", "0800"},
      {"08:30", 1, "08.5", "08.5"},
      {"08:45", 1, "08.75", "0875"},
      {"08:59", 1, "08.98", "0898"},
      {"08:01", 1, "08.01", "0801"},
      {"08:03", 1, "08.05", "0805"},
      {"17:20", 1, "17.33", "1733"},
      {"     ", 1, "  ", "  "},
      {"     ", 0, "     ", "    "},
      {"", 1, "", ""},
      {"", 0, "", ""},
      // Texts no punch ever stores still give a cell of their own, never a crash.
      {"8:5", 0, "8:8:5", "8::5"},
      {"xx:99", 1, "xx1.65", "xx65"},
      {"07:-5", 1, "07-.09", "0709"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.stored + "\" display " + std::to_string(c.display));
    EXPECT_EQ(PrintedCellText(c.stored, c.display, true), c.wide);
    EXPECT_EQ(PrintedCellText(c.stored, c.display, false), c.narrow);
  }
}

TEST(CardPrintout, FillNeverGoesBelowNothingAndTakesTheLargestSettings) {
  // The golden printouts hold the usual paper handling; these are its edges: settings 5 + 6
  // shorter than the card add no fill, and bytes of 255 give 255 lines, then 475.
  CardPrintSettings settings;
  settings.printer[5] = 20;
  settings.printer[6] = 10;
  settings.printer[8] = 1;
  const TimeCard card;
  EXPECT_EQ(CardPrintout(PrintedCard{card, "N", "I", 1, kSaturdayWeek}, settings).size(), 35u);
  for (const int n : {4, 5, 6}) settings.printer[n] = 255;
  const std::vector<std::string> pieces =
      CardPrintout(PrintedCard{card, "N", "I", 1, kSaturdayWeek}, settings);
  ASSERT_EQ(pieces.size(), 255u + 35u + 475u);
  EXPECT_EQ(pieces[254], "\r\n");
  EXPECT_EQ(pieces[255].substr(0, 15), "WEEK ENDING ON ");
  EXPECT_EQ(pieces.back(), "\r\n");
}

}  // namespace
}  // namespace shiftlog
