#include "layouts/export_cards.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layouts/card_printout.h"

namespace shiftlog {
namespace {

const std::array<std::string, 7> kWeek = {"12-09-2012", "12-10-2012", "12-11-2012", "12-12-2012",
                                          "12-13-2012", "12-14-2012", "12-15-2012"};

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(bytes.substr(start, end - start));
  EXPECT_EQ(start, bytes.size()) << "bytes after the last CR LF";
  return lines;
}

// The fields of a DATA line as a spreadsheet reads them (RFC 4180).
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (quoted && line[i] == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += line[++i];
    } else if (line[i] == '"') {
      quoted = !quoted;
    } else if (line[i] == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += line[i];
    }
  }
  return fields;
}

// Monday: 08:00-13:45 corrected to 08:30 by supervisor 12 with a reason; Friday 13:00-13:30.
TimeCard SampleCard() {
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

CardPrintSettings Settings(int timeDisplay, int setting8, const std::string& storeId) {
  CardPrintSettings settings;
  settings.printer[8] = setting8;
  settings.timeDisplay = timeDisplay;
  settings.storeId = storeId;
  return settings;
}

std::string Export(ExportKind kind, const CardPrintSettings& settings, const TimeCard& card = SampleCard(),
                   const std::string& name = "MARY SMITH              ", const std::string& id = "00001234",
                   int slot = 7) {
  std::string bytes;
  AppendExportedCard(bytes, kind, PrintedCard{card, name, id, slot, kWeek}, settings);
  return bytes;
}

TEST(ExportCards, DataCardLineByLine) {
  const std::vector<std::string> lines = Lines(Export(ExportKind::kData, Settings(0, 1, "STORE 42    ")));
  ASSERT_EQ(lines.size(), 4u + 1 + 21 + 2);
  const std::vector<std::string> expected = {
      "WEEK ENDING ON ,12-15-2012",
      "ASSOCIATE: ,00001234,MARY SMITH              ",
      "CARD #, 7 ",
      "STORE ID = ,STORE 42    ",
      ",IN,OUT,IN,OUT,IN,OUT,IN,OUT,TIME WORKED",
      "SUNDAY,     ,     ,     ,     ,     ,     ,     ,     ,",
      "12-09-2012,     ,     ,     ,     ,     ,     ,     ,     ,00:00",
      "            ,,,,,,,,,",
      "MONDAY,08:00,13:45,     ,     ,     ,     ,     ,     ,",
      "12-10-2012,08:30,     ,     ,     ,     ,     ,     ,     ,05:15",
      "LATE BUS    ,   12,,,,,,,,",
  };
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << i;
  EXPECT_EQ(lines[lines.size() - 2], ",TOTAL TIME WORKED,05:45");
  EXPECT_EQ(lines.back(), "TIME IS DISPLAYED IN HOURS AND MINUTES");
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
    ASSERT_EQ(data.size(), storeLine ? 28u : 27u);
    EXPECT_EQ(data[3].rfind("STORE ID = ,", 0) == 0, storeLine);
    const size_t friday = (storeLine ? 5 : 4) + 3 * 5;
    EXPECT_EQ(data[friday].substr(0, std::string(c.friday).size()), c.friday);
    EXPECT_EQ(Fields(data[friday + 1])[9], c.fridayTotal);
    const std::vector<std::string> text = Lines(Export(ExportKind::kText, settings));
    ASSERT_EQ(text.size(), static_cast<size_t>(kTextCardLines));
    EXPECT_EQ(text[1].find("STORE ID = ") != std::string::npos, storeLine);
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
  const TimeCard card = SampleCard();
  std::string expected;
  for (const std::string& piece : CardPrintout(PrintedCard{card, "MARY", "1", 17, kWeek}, printed))
    expected += piece;
  for (int i = kWideCardLines; i < kTextCardLines; ++i) expected += "\r\n";
  const std::string text = Export(ExportKind::kText, exported, card, "MARY", "1", 17);
  EXPECT_EQ(text, expected);
  EXPECT_EQ(Lines(text)[1], "                 CARD # 17                       STORE ID = STORE 42    ");
}

TEST(ExportCards, FieldsWithCommasOrQuotesAreQuotedAndKeepTheColumns) {
  const std::pair<const char*, const char*> fields[] = {{"SMITH, MARY", "\"SMITH, MARY\""},
                                                        {"SAID \"HI\"", "\"SAID \"\"HI\"\"\""},
                                                        {"\"", "\"\"\"\""},
                                                        {"  PLAIN  ", "  PLAIN  "},
                                                        {"", ""}};
  for (const auto& [text, quoted] : fields) EXPECT_EQ(DataField(text), quoted) << text;

  TimeCard card = SampleCard();
  card.reasons[2] = "SICK, \"FLU\"";
  card.Text(kPunchRow, 3, 1) = "1,:\"0";  // a damaged time
  const std::string name = "SMITH, MARY \"M\"         ";
  const std::vector<std::string> lines =
      Lines(Export(ExportKind::kData, Settings(0, 1, "A,B\"C       "), card, name, "12,34\"  "));
  EXPECT_EQ(Fields(lines[1]), (std::vector<std::string>{"ASSOCIATE: ", "12,34\"  ", name}));
  EXPECT_EQ(Fields(lines[3]), (std::vector<std::string>{"STORE ID = ", "A,B\"C       "}));
  EXPECT_EQ(Fields(lines[10])[0], "SICK, \"FLU\" ");
  EXPECT_EQ(Fields(lines[14])[1], "1,:\"0");
  for (size_t i = 4; i < lines.size() - 2; ++i) EXPECT_EQ(Fields(lines[i]).size(), 10u) << lines[i];
}

}  // namespace
}  // namespace shiftlog
