#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <tuple>

#include "back_office_fixture.h"
#include "cli/output_text.h"
#include "frame/configuration.h"
#include "reports/transmit_cards.h"
#include "store/lock_file.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;
using testing::TestProgram;

class ExportTest : public testing::BackOfficeTest {
 protected:
  // The register, then Mary's Monday: 08:00-12:00 and 13:00-17:30, the IN corrected to 07:45 by
  // Anna (slot 12); Joe's Wednesday: an IN only.
  void PunchWeek() {
    WriteRegister();
    int punchSlot = 0;
    for (const char* time : {"08:00", "12:00", "13:00", "17:30"}) Punch(3, 1, ++punchSlot, time);
    Correct(3, 1, 1, "07:45", 12, "LATE BUS");
    Punch(5, 3, 1, "09:10");
  }
};

TEST_F(ExportTest, JsonCarriesPunchesCorrectionsReasonsAndWorkedTimeInTheStoresDisplay) {
  for (const auto& [timeDisplay, display, worked] :
       {std::tuple{0, "hours:minutes", "08:45"}, std::tuple{1, "decimal", "08.75"}}) {
    SCOPED_TRACE(display);
    fs::remove_all(CardFolder());
    builder.SetTimeDisplay(timeDisplay);
    PunchWeek();

    const nlohmann::json week = Json({"export", "--week", "2012-12-12"});
    EXPECT_EQ(week["cardFile"], "20121215");
    EXPECT_EQ(week["weekEnding"], "2012-12-15");
    EXPECT_EQ(week["storeId"], "STORE 42");
    EXPECT_EQ(week["timeDisplay"], display);
    ASSERT_EQ(week["cards"].size(), 3u);  // the two with times, and Anna's: a name but no time
    const nlohmann::json& mary = week["cards"][0];
    EXPECT_EQ(mary["name"], "MARY SMITH");
    EXPECT_EQ(mary["id"], "12345678");
    ASSERT_EQ(mary["days"].size(), 7u);
    // The correction counts in place of the punch: 07:45-12:00 and 13:00-17:30.
    nlohmann::json monday = nlohmann::json::parse(R"({"date": "2012-12-10", "day": "MONDAY",
        "punches": ["08:00", "12:00", "13:00", "17:30", "", "", "", ""],
        "corrections": ["07:45", "", "", "", "", "", "", ""], "correctors": [12, 0, 0, 0, 0, 0, 0, 0],
        "reason": "LATE BUS", "minutes": 525})");
    monday["worked"] = worked;
    EXPECT_EQ(mary["days"][1], monday);
    EXPECT_EQ(mary["minutes"], 525);
    EXPECT_EQ(mary["worked"], worked);
    // An IN without its OUT adds nothing.
    EXPECT_EQ(week["cards"][1]["days"][3]["punches"][0], "09:10");
    EXPECT_EQ(week["cards"][1]["minutes"], 0);
  }
}

TEST(WorkedText, KeepsEveryHourAndRoundsHundredthsAsTheCardDoes) {
  // The card's 5-character total shows 105 hours as 05:00; a payroll export must not.
  const std::tuple<long long, int, const char*> cases[] = {{0, 0, "00:00"},     {6300, 0, "105:00"},
                                                           {6300, 1, "105.00"}, {59, 1, "00.98"},
                                                           {1, 1, "00.02"},     {630, 1, "10.50"}};
  for (const auto& [minutes, display, text] : cases)
    EXPECT_EQ(WorkedText(minutes, display), text) << minutes << " " << display;
}

TEST_F(ExportTest, WeekAndCardChoices) {
  PunchWeek();
  // This week by default, a day of the week, or the file's own name: the same cards.
  const nlohmann::json byDefault = Json({"export"});
  std::vector<int> slots;
  for (const auto& card : byDefault["cards"]) slots.push_back(card["slot"]);
  EXPECT_EQ(slots, (std::vector<int>{3, 5, 12}));
  EXPECT_EQ(Json({"export", "--week", "2012-12-09"}), byDefault);
  EXPECT_EQ(Json({"export", "--week", "20121215"}), byDefault);
  const nlohmann::json blank = Json({"export", "--slot", "7"});
  ASSERT_EQ(blank["cards"].size(), 1u);
  EXPECT_EQ(blank["cards"][0]["slot"], 7);
  EXPECT_EQ(blank["cards"][0]["name"], "");
  EXPECT_EQ(blank["cards"][0]["days"][6]["date"], "2012-12-15");
  EXPECT_EQ(blank["cards"][0]["days"][6]["worked"], "00:00");

  // --output: the same bytes in the file, nothing on standard output, no temporary file left.
  const fs::path output = top.path() / "out" / "week.json";
  fs::create_directories(output.parent_path());
  EXPECT_EQ(Out({"export", "--format", "json", "--output", output.string()}), "");
  EXPECT_EQ(nlohmann::json::parse(TestProgram::ReadFileBytes(output)), byDefault);
  EXPECT_EQ(std::distance(fs::directory_iterator(output.parent_path()), fs::directory_iterator()), 1);
}

// csv and text are the bytes a transmit leaves in the SEND folder. Printer setting 8 (the totals'
// form) comes from the register data file unless SHOP1.DAT's record is in use; export never makes it.
TEST_F(ExportTest, CsvAndTextAreTheBytesOfTheTransmittedFiles) {
  builder.SetAssociate(20, "DOE, JANE \"JJ\"", 2020, "20,20");
  local.SetPrinterSetting(8, 1);
  for (const bool overridden : {false, true}) {
    SCOPED_TRACE(overridden);
    fs::remove_all(CardFolder());
    fs::remove_all(shared / "STORE" / "SEND");
    builder.SetTimeDisplay(overridden ? 0 : 1);
    PunchWeek();
    Punch(20, 6, 1, "10:00");
    if (overridden) {
      RecordImage overrides(80, kPrinterOverrideRecord);
      overrides.SetByte(kPrinterOverrideRecord, 0, 1);  // in use, setting 8 = 0
      ASSERT_TRUE(overrides.WriteTo(store / "SHOP1.DAT"));
    }
    const std::string csv = Out({"export", "--format", "csv"}), text = Out({"export", "--format", "text"});
    EXPECT_EQ(fs::exists(store / "SHOP1.DAT"), overridden);

    ScriptedTerminal terminal;
    Program program(terminal, clock, host);
    program.store.configName = "SHOP1";
    LoadConfiguration(program);
    for (const KeyText key : {"\r", "2", "\r", "x", "3", "\r", "x", "\x1b"}) terminal.Type(key);
    TransmitCards(program);  // the newest card file, as TEXT and as DATA
    const std::string sent = (shared / "STORE" / "SEND" / "STORE 4220121215").string();
    EXPECT_EQ(csv, TestProgram::ReadFileBytes(sent + ".CSV"));
    EXPECT_EQ(text, TestProgram::ReadFileBytes(sent + ".TXT"));
    EXPECT_NE(csv.find(overridden ? ",TOTAL TIME WORKED,0845\r\n" : ",TOTAL TIME WORKED,08.75\r\n"),
              std::string::npos);
  }
}

TEST_F(ExportTest, ReadingLeavesTheStoreAsItWasAndADamagedFileReadsAsTheClockReadsIt) {
  PunchWeek();
  // A file that ends in the middle of slot 3's card (record 4), as after an interrupted copy.
  const fs::path card = CardFolder() / "20121215.CLK";
  std::string bytes = TestProgram::ReadFileBytes(card);
  bytes.resize(3 * 800 + 32 + 5 * 8 + 2);  // Sunday's punches and Monday's first one
  TestProgram::WriteFileBytes(card, bytes);
  const auto before = fs::last_write_time(card);

  const nlohmann::json week = Json({"export", "--all"});
  ASSERT_EQ(week["cards"].size(), 56u);
  const nlohmann::json& monday = week["cards"][2]["days"][1];
  EXPECT_EQ(week["cards"][2]["name"], "MARY SMITH");
  EXPECT_EQ(monday["punches"][0], "08");  // the part of the time the file has
  EXPECT_EQ(monday["punches"][1], "");    // zero bytes: no punch
  EXPECT_EQ(monday["correctors"][0], 0);
  EXPECT_EQ(week["cards"][4]["name"], "");  // records past the end: empty cards
  EXPECT_EQ(Json({"export"})["cards"].size(), 1u);

  // Nothing was written, no lock file stayed, and no card file was made for a week without one.
  EXPECT_EQ(TestProgram::ReadFileBytes(card), bytes);
  EXPECT_EQ(fs::last_write_time(card), before);
  EXPECT_EQ(Run({"export", "--store", store.string(), "--week", "2012-12-16"}).status, 1);
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(CardFolder())) files.push_back(entry.path().filename());
  EXPECT_EQ(files, std::vector<std::string>{"20121215.CLK"});
}

TEST_F(ExportTest, TheSnapshotWaitsForAStationsUpdateToEnd) {
  PunchWeek();
  // A station holds the lock and is in the middle of rewriting Joe's card.
  LockFile station;
  ASSERT_TRUE(station.Take(CardFolder() / "_0121215.CLK"));
  testing::CommandResult result;
  std::thread reader([&] {
    result = Run({"export", "--store", store.string(), "--slot", "5", "--format", "json"});
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const fs::path card = CardFolder() / "20121215.CLK";
  std::string bytes = TestProgram::ReadFileBytes(card);
  bytes.replace(5 * 800 + 32 + 5 * (3 * 8 + 1), 5, "17:05");  // Wednesday's first OUT
  TestProgram::WriteFileBytes(card, bytes);
  station.Release();
  reader.join();
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(nlohmann::json::parse(result.out)["cards"][0]["days"][3]["punches"][1], "17:05");
  EXPECT_FALSE(fs::exists(CardFolder() / "_0121215.CLK"));
}

}  // namespace
}  // namespace shiftlog
