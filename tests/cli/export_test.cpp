#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "back_office_fixture.h"
#include "cli/output_text.h"
#include "frame/configuration.h"
#include "reports/transmit_cards.h"
#include "store/lock_file.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;
using testing::BackOfficeTest;

class ExportTest : public BackOfficeTest {
 protected:
  // Mary's Monday: 08:00-12:00 and 13:00-17:30, the IN corrected to 07:45 by Anna (slot 12);
  // Joe's Wednesday: an IN only.
  void PunchWeek() {
    Punch(3, 1, 1, "08:00");
    Punch(3, 1, 2, "12:00");
    Punch(3, 1, 3, "13:00");
    Punch(3, 1, 4, "17:30");
    Correct(3, 1, 1, "07:45", 12, "LATE BUS");
    Punch(5, 3, 1, "09:10");
  }
};

TEST_F(ExportTest, JsonCarriesPunchesCorrectionsReasonsAndWorkedTimeInTheStoresDisplay) {
  struct Case {
    int timeDisplay;
    const char* display;
    const char* monday;
    const char* week;
  };
  for (const Case& c : {Case{0, "hours:minutes", "08:45", "08:45"}, Case{1, "decimal", "08.75", "08.75"}}) {
    SCOPED_TRACE(c.display);
    fs::remove_all(CardFolder());
    builder.SetTimeDisplay(c.timeDisplay);
    WriteRegister();
    PunchWeek();

    const nlohmann::json week = Json({"export", "--week", "2012-12-12"});
    EXPECT_EQ(week["cardFile"], "20121215");
    EXPECT_EQ(week["weekEnding"], "2012-12-15");
    EXPECT_EQ(week["storeId"], "STORE 42");
    EXPECT_EQ(week["timeDisplay"], c.display);
    // Non-blank cards only: the two with times, and Anna's, who has a name but no time.
    ASSERT_EQ(week["cards"].size(), 3u);
    EXPECT_EQ(week["cards"][2]["slot"], 12);
    const nlohmann::json& mary = week["cards"][0];
    EXPECT_EQ(mary["slot"], 3);
    EXPECT_EQ(mary["name"], "MARY SMITH");
    EXPECT_EQ(mary["id"], "12345678");
    ASSERT_EQ(mary["days"].size(), 7u);
    const nlohmann::json& monday = mary["days"][1];
    EXPECT_EQ(monday["date"], "2012-12-10");
    EXPECT_EQ(monday["day"], "MONDAY");
    EXPECT_EQ(monday["punches"], nlohmann::json({"08:00", "12:00", "13:00", "17:30", "", "", "", ""}));
    EXPECT_EQ(monday["corrections"], nlohmann::json({"07:45", "", "", "", "", "", "", ""}));
    EXPECT_EQ(monday["correctors"], nlohmann::json({12, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(monday["reason"], "LATE BUS");
    EXPECT_EQ(monday["minutes"], 255 + 270);  // the correction counts in place of the punch
    EXPECT_EQ(monday["worked"], c.monday);
    EXPECT_EQ(mary["days"][0]["date"], "2012-12-09");
    EXPECT_EQ(mary["days"][0]["minutes"], 0);
    EXPECT_EQ(mary["minutes"], 525);
    EXPECT_EQ(mary["worked"], c.week);
    // An IN without its OUT adds nothing.
    EXPECT_EQ(week["cards"][1]["days"][3]["punches"][0], "09:10");
    EXPECT_EQ(week["cards"][1]["minutes"], 0);
  }
}

TEST(WorkedText, KeepsEveryHourAndRoundsHundredthsAsTheCardDoes) {
  struct Case {
    long long minutes;
    int timeDisplay;
    const char* text;
  };
  // The card's 5-character total shows 105 hours as 05:00; a payroll export must not.
  for (const Case& c :
       {Case{0, 0, "00:00"}, Case{6300, 0, "105:00"}, Case{6300, 1, "105.00"}, Case{59, 1, "00.98"},
        Case{1, 1, "00.02"}, Case{630, 1, "10.50"}, Case{525, 0, "08:45"}}) {
    EXPECT_EQ(WorkedText(c.minutes, c.timeDisplay), c.text) << c.minutes << " " << c.timeDisplay;
  }
}

TEST_F(ExportTest, WeekAndCardChoices) {
  WriteRegister();
  PunchWeek();
  const auto slots = [](const nlohmann::json& week) {
    std::vector<int> list;
    for (const auto& card : week["cards"]) list.push_back(card["slot"]);
    return list;
  };
  // This week by default, a day of the week, or the file's own name: the same cards.
  const nlohmann::json byDefault = Json({"export"});
  EXPECT_EQ(slots(byDefault), (std::vector<int>{3, 5, 12}));
  EXPECT_EQ(Json({"export", "--week", "2012-12-09"}), byDefault);
  EXPECT_EQ(Json({"export", "--week", "20121215"}), byDefault);
  EXPECT_EQ(Json({"export", "--all"})["cards"].size(), 56u);
  const nlohmann::json blank = Json({"export", "--slot", "7"});
  EXPECT_EQ(slots(blank), std::vector<int>{7});
  EXPECT_EQ(blank["cards"][0]["name"], "");
  EXPECT_EQ(blank["cards"][0]["days"][6]["date"], "2012-12-15");
  EXPECT_EQ(blank["cards"][0]["days"][6]["worked"], "00:00");

  // --output: the same bytes in the file, nothing on standard output, no temporary file left.
  const fs::path output = top.path() / "out" / "week.json";
  fs::create_directories(output.parent_path());
  const testing::CommandResult toFile =
      Run({"export", "--store", store.string(), "--format", "json", "--output", output.string()});
  EXPECT_EQ(toFile.status, 0) << toFile.err;
  EXPECT_EQ(toFile.out, "");
  EXPECT_EQ(nlohmann::json::parse(testing::TestProgram::ReadFileBytes(output)), byDefault);
  EXPECT_EQ(std::distance(fs::directory_iterator(output.parent_path()), fs::directory_iterator()), 1);
}

// csv and text are the bytes the time clock leaves in the SEND folder for the same week. Printer
// setting 8 (the totals' form) is read as the time clock reads it: from the register data file,
// unless the printer record file's record is in use; the command line never makes that file.
TEST_F(ExportTest, CsvAndTextAreTheBytesOfTheTransmittedFiles) {
  builder.SetAssociate(20, "DOE, JANE \"JJ\"", 2020, "20,20");
  local.SetPrinterSetting(8, 1);
  for (const bool overridden : {false, true}) {
    SCOPED_TRACE(overridden);
    fs::remove_all(CardFolder());
    fs::remove_all(shared / "STORE" / "SEND");
    builder.SetTimeDisplay(overridden ? 0 : 1);
    WriteRegister();
    PunchWeek();
    Punch(20, 6, 1, "10:00");
    if (overridden) {
      RecordImage overrides(80, kPrinterOverrideRecord);
      overrides.SetByte(kPrinterOverrideRecord, 0, 1);  // in use, setting 8 = 0
      ASSERT_TRUE(overrides.WriteTo(store / "SHOP1.DAT"));
    }
    std::vector<testing::CommandResult> exported;
    for (const char* format : {"csv", "text"})
      exported.push_back(Run({"export", "--store", store.string(), "--format", format}));
    EXPECT_EQ(fs::exists(store / "SHOP1.DAT"), overridden);

    ScriptedTerminal terminal;
    Program program(terminal, clock, host);
    program.store.configName = "SHOP1";
    LoadConfiguration(program);
    for (const KeyText key : {"\r", "2", "\r", "x", "3", "\r", "x", "\x1b"}) terminal.Type(key);
    TransmitCards(program);  // the newest card file, as TEXT and as DATA
    const std::string sent = (shared / "STORE" / "SEND" / "STORE 4220121215").string();
    const std::string csv = testing::TestProgram::ReadFileBytes(sent + ".CSV");
    EXPECT_NE(csv.find("\r\nASSOCIATE: ,\"20,20   \",\"DOE, JANE \"\"JJ\"\"          \"\r\n"),
              std::string::npos);
    EXPECT_NE(csv.find(overridden ? ",TOTAL TIME WORKED,0845\r\n" : ",TOTAL TIME WORKED,08.75\r\n"),
              std::string::npos);
    EXPECT_EQ(exported[0].out, csv) << exported[0].err;
    EXPECT_EQ(exported[1].out, testing::TestProgram::ReadFileBytes(sent + ".TXT")) << exported[1].err;
  }
}

TEST_F(ExportTest, ReadingLeavesTheStoreAsItWasAndADamagedFileReadsAsTheClockReadsIt) {
  WriteRegister();
  PunchWeek();
  // A file that ends in the middle of slot 3's card (record 4), as after an interrupted copy.
  const fs::path card = CardFolder() / "20121215.CLK";
  std::string bytes = testing::TestProgram::ReadFileBytes(card);
  bytes.resize(3 * 800 + 32 + 5 * 8 + 2);  // Sunday's punches and Monday's first one
  testing::TestProgram::WriteFileBytes(card, bytes);
  const auto before = fs::last_write_time(card);

  const nlohmann::json week = Json({"export", "--all"});
  ASSERT_EQ(week["cards"].size(), 56u);
  const nlohmann::json& mary = week["cards"][2];
  EXPECT_EQ(mary["name"], "MARY SMITH");
  EXPECT_EQ(mary["days"][1]["punches"][0], "08");  // the part of the time the file has
  EXPECT_EQ(mary["days"][1]["punches"][1], "");    // zero bytes: no punch
  EXPECT_EQ(mary["days"][1]["correctors"][0], 0);
  EXPECT_EQ(week["cards"][4]["name"], "");  // records past the end: empty cards
  EXPECT_EQ(Json({"export"})["cards"].size(), 1u);

  // Nothing was written, no lock file stayed, and no card file was made for a week without one.
  EXPECT_EQ(testing::TestProgram::ReadFileBytes(card), bytes);
  EXPECT_EQ(fs::last_write_time(card), before);
  EXPECT_EQ(Run({"export", "--store", store.string(), "--week", "2012-12-16"}).status, 1);
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(CardFolder())) files.push_back(entry.path().filename());
  EXPECT_EQ(files, std::vector<std::string>{"20121215.CLK"});
}

TEST_F(ExportTest, TheSnapshotWaitsForAStationsUpdateToEnd) {
  WriteRegister();
  PunchWeek();
  // A station holds the lock and is in the middle of rewriting Joe's card.
  const fs::path card = CardFolder() / "20121215.CLK";
  LockFile station;
  ASSERT_TRUE(station.Take(CardFolder() / "_0121215.CLK"));
  testing::CommandResult result;
  std::thread reader([&] {
    result = Run({"export", "--store", store.string(), "--slot", "5", "--format", "json"});
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  std::string bytes = testing::TestProgram::ReadFileBytes(card);
  bytes.replace(5 * 800 + 32 + 5 * (3 * 8 + 1), 5, "17:05");  // Wednesday's first OUT
  testing::TestProgram::WriteFileBytes(card, bytes);
  station.Release();
  reader.join();
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(nlohmann::json::parse(result.out)["cards"][0]["days"][3]["punches"][1], "17:05");
  EXPECT_FALSE(fs::exists(CardFolder() / "_0121215.CLK"));
}

}  // namespace
}  // namespace shiftlog
