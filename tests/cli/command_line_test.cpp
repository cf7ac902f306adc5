// The back-office command line over a store as it finds one: the register data file in the
// store's folder pointing at drive F: (a link in DRIVES), the shared copy with the roster there,
// and card files written by the store itself. Commands run in-process with a fixed clock.
#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>
#include <tuple>

#include "cli/output_text.h"
#include "console/scripted_terminal.h"
#include "frame/configuration.h"
#include "host/real_host.h"
#include "reports/transmit_cards.h"
#include "store/lock_file.h"
#include "store/register_data.h"
#include "store/register_file_builder.h"
#include "store/time_card_file.h"
#include "support/test_program.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing::TempFolder;
using testing::TestProgram;

struct CommandResult {
  int status = -1;
  std::string out;
  std::string err;
};

class BackOfficeTest : public ::testing::Test {
 protected:
  static constexpr const char* kWeek = "20121215";  // Sunday 12-09-2012 to Saturday 12-15-2012

  BackOfficeTest() {
    fs::create_directories(store / "DRIVES");
    fs::create_directories(shared / "STORE");
    fs::create_directory_symlink(shared, store / "DRIVES" / "F");
    builder.SetAssociate(3, "MARY SMITH", 3333, "12345678");
    builder.SetAssociate(5, "JOE BROWN", 5555, "55");
    builder.SetAssociate(12, "ANNA BAKER", 1111, "A-12", true);
    builder.SetStoreId("STORE 42");
  }

  // Writes both register data files and reads the context from them; call again after a change.
  void WriteRegister() {
    local.SetDataPath("F:\\STORE\\");
    ASSERT_TRUE(local.WriteTo(store / "SHOP1.TIL"));
    ASSERT_TRUE(builder.WriteTo(shared / "STORE" / "SHOP1.TIL"));
    context.configName = "SHOP1";
    ASSERT_TRUE(ReadLocalDataPath(context));
    ASSERT_TRUE(LoadRegisterAssociates(context));
  }
  fs::path CardFolder() const { return shared / "STORE" / "SHOP1"; }

  void Punch(int slot, int day, int punchSlot, const std::string& time, const std::string& week = kWeek) {
    TimeCard card;
    std::string name, id;
    ASSERT_TRUE(PunchTimeCard(context, card, name, slot, week, id, day, punchSlot, time));
  }
  // A supervisor's correction of one slot, with the day's reason.
  void Correct(int slot, int day, int punchSlot, const std::string& time, int corrector,
               const std::string& reason) {
    TimeCard card;
    std::string name, id;
    ASSERT_TRUE(ReadTimeCard(context, card, name, slot, kWeek, id));
    card.Text(kCorrectionRow, day, punchSlot) = time;
    card.Text(kCorrectorRow, day, punchSlot) = " " + std::to_string(corrector);
    card.reasons[day + 1] = reason;
    ASSERT_TRUE(WriteTimeCard(context, card, name, slot, kWeek, id));
  }
  // The register, then Mary's Monday: 08:00-12:00 and 13:00-17:30, the IN corrected to 07:45 by
  // Anna (slot 12); Joe's Wednesday: an IN only.
  void PunchWeek() {
    WriteRegister();
    int punchSlot = 0;
    for (const char* time : {"08:00", "12:00", "13:00", "17:30"}) Punch(3, 1, ++punchSlot, time);
    Correct(3, 1, 1, "07:45", 12, "LATE BUS");
    Punch(5, 3, 1, "09:10");
  }

  CommandResult Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "shiftlog");
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    std::ostringstream out, err;
    const int status = RunCommandLine(static_cast<int>(argv.size()), argv.data(), out, err, clock);
    return {status, out.str(), err.str()};
  }
  // A command on this store that must work: its standard output, or that read as JSON.
  std::string Out(std::vector<std::string> arguments) {
    arguments.insert(arguments.end(), {"--store", store.string()});
    const CommandResult result = Run(arguments);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    return result.out;
  }
  json Json(std::vector<std::string> arguments) {
    arguments.insert(arguments.end(), {"--format", "json"});
    return json::parse(Out(arguments));
  }

  TempFolder top;
  fs::path store = top.path() / "store";
  fs::path shared = top.path() / "shared";
  RegisterFileBuilder local;                                // the store's own copy: only the data path
  RegisterFileBuilder builder;                              // the shared copy: associates and settings
  FixedClock clock{LocalTime{2012, 12, 12, 16, 30, 0, 0}};  // Wednesday
  RealHost host{store};
  StoreContext context{host};
};

using CommandLineTest = BackOfficeTest;
using ExportTest = BackOfficeTest;
using StatusTest = BackOfficeTest;

TEST_F(CommandLineTest, BadInputGetsOneLineNamingWhatIsWrongAndItsExitStatus) {
  WriteRegister();
  Punch(3, 3, 1, "08:00");
  const fs::path empty = top.path() / "empty", two = top.path() / "two";
  fs::create_directories(empty);
  fs::create_directories(two);
  TestProgram::WriteFileBytes(two / "SHOP1.TIL", "");
  TestProgram::WriteFileBytes(two / "shop2.til", "");
  const std::string s = store.string(), output = (top.path() / "no" / "such" / "x.json").string();
  const auto expectFailure = [&](const std::vector<std::string>& arguments, int status,
                                 const std::string& message) {
    SCOPED_TRACE(::testing::PrintToString(arguments));
    const CommandResult result = Run(arguments);
    EXPECT_EQ(result.status, status);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind(message, 0), 0u) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
  };
  // clang-format off
  const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
      {{""}, 2, "shiftlog: unknown command \"\""},
      {{"--store", s}, 2, "shiftlog: --store: not an option of shiftlog itself"},
      {{"export", "--hours"}, 2, "shiftlog export: unknown option: --hours"},
      {{"status", "now"}, 2, "shiftlog status: unexpected argument: now"},
      {{"export", "--slot", "57"}, 2, "shiftlog export: --slot: Value 57 not in range 1 to 56"},
      {{"export", "--all", "--slot", "3"}, 2, "shiftlog export: --all excludes --slot"},
      {{"export", "--format", "xml"}, 2, "shiftlog export: --format: xml not in {csv,text,json}"},
      {{"export", "--week", "2013-02-29"}, 2, "shiftlog export: --week 2013-02-29: no such date"},
      {{"export", "--week", "20120631"}, 2, "shiftlog export: --week 20120631: no such date"},
      {{"export", "--week", "12-15-2012"}, 2, "shiftlog export: --week 12-15-2012: not a date"},
      {{"status", "--date", "20121215"}, 2, "shiftlog status: --date 20121215: not a date (YYYY-MM-DD)"},
      {{"status", "--date", "1999-12-31"}, 2,
       "shiftlog status: --date 1999-12-31: the time clock keeps weeks"},
      {{"status", "--store", s, "--config", "..\\X"}, 2,
       "shiftlog status: --config ..\\X: a configuration name"},
      {{"status", "--store", two.string()}, 2, "shiftlog status: several register data files in " +
       two.string() + " (SHOP1.TIL, shop2.til): name one"},
      {{"status", "--store", empty.string()}, 1,
       "shiftlog status: no register data file (*.TIL) in " + empty.string()},
      {{"status", "--store", s, "--config", "SHOP9"}, 1,
       "shiftlog status: no register data file SHOP9.TIL in " + s},
      {{"status", "--store", (top.path() / "nowhere").string()}, 1,
       "shiftlog status: cannot read the store folder"},
      {{"export", "--store", s, "--week", "2012-12-22"}, 1, "shiftlog export: no card file for the week "
       "ending 2012-12-22 (" + (fs::weakly_canonical(CardFolder()) / "20121222.CLK").string() + ")"},
      {{"export", "--store", s, "--output", output}, 1, "shiftlog export: cannot write " + output},
  };
  // clang-format on
  for (const auto& [arguments, status, message] : cases) expectFailure(arguments, status, message);

  // csv and text follow the station's printer settings: a printer record file that cannot be
  // read stops them, not json.
  fs::copy_file(store / "SHOP1.TIL", store / "SHOP2.TIL");
  fs::copy_file(shared / "STORE" / "SHOP1.TIL", shared / "STORE" / "SHOP2.TIL");
  fs::create_directories(store / "SHOP2.DAT");
  for (const char* format : {"csv", "text"}) {
    expectFailure({"export", "--store", s, "--config", "SHOP2", "--format", format}, 1,
                  "shiftlog export: cannot read the printer settings in " +
                      fs::weakly_canonical(store / "SHOP2.TIL").string() + " and " +
                      fs::weakly_canonical(store / "SHOP2.DAT").string() + ": ");
  }
  fs::remove(store / "SHOP2.TIL");

  // The drive of the data path has lost its link.
  fs::remove(store / "DRIVES" / "F");
  const CommandResult unmapped = Run({"status", "--store", s});
  EXPECT_EQ(unmapped.status, 1);
  EXPECT_NE(unmapped.err.find("F:\\STORE\\ of SHOP1.TIL is on a drive that is not ready"), std::string::npos)
      << unmapped.err;
}

TEST_F(CommandLineTest, TheConfigurationIsFoundBesideALockFileAndByName) {
  WriteRegister();
  Punch(3, 3, 1, "08:00");
  // The register holds its lock file while it updates SHOP1.TIL: it is no second configuration.
  TestProgram::WriteFileBytes(store / "_HOP1.TIL", std::string(kLockFileContent));
  EXPECT_EQ(Json({"status"})["clockedIn"].size(), 1u);
  fs::rename(store / "SHOP1.TIL", store / "shop1.til");
  TestProgram::WriteFileBytes(store / "OTHER.TIL", "");
  EXPECT_EQ(Json({"status", "--config", "SHOP1"})["clockedIn"].size(), 1u);
  EXPECT_EQ(Json({"status", "--config", "shop1.TIL"})["clockedIn"].size(), 1u);
}

// The built program runs these commands the same way (tests/e2e/export_road_test.sh).
TEST_F(CommandLineTest, TheVersionAndEachCommandsHelp) {
  const CommandResult version = Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("shiftlog ", 0), 0u);
  for (const char* command : {"export", "status"}) {
    const CommandResult help = Run({command, "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find(std::string("Usage: shiftlog ") + command), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("--store DIR"), std::string::npos);
  }
}

TEST_F(ExportTest, JsonCarriesPunchesCorrectionsReasonsAndWorkedTimeInTheStoresDisplay) {
  builder.SetTimeDisplay(1);  // decimal; WeekAndCardChoices has the hours and minutes
  PunchWeek();
  const json week = Json({"export", "--week", "2012-12-12"});
  EXPECT_EQ(week["cardFile"], "20121215");
  EXPECT_EQ(week["weekEnding"], "2012-12-15");
  EXPECT_EQ(week["storeId"], "STORE 42");
  EXPECT_EQ(week["timeDisplay"], "decimal");
  ASSERT_EQ(week["cards"].size(), 3u);  // the two with times, and Anna's: a name but no time
  const json& mary = week["cards"][0];
  EXPECT_EQ(mary["name"], "MARY SMITH");
  EXPECT_EQ(mary["id"], "12345678");
  ASSERT_EQ(mary["days"].size(), 7u);
  // The correction counts in place of the punch: 07:45-12:00 and 13:00-17:30.
  EXPECT_EQ(mary["days"][1], json::parse(R"({"date": "2012-12-10", "day": "MONDAY",
      "punches": ["08:00", "12:00", "13:00", "17:30", "", "", "", ""],
      "corrections": ["07:45", "", "", "", "", "", "", ""], "correctors": [12, 0, 0, 0, 0, 0, 0, 0],
      "reason": "LATE BUS", "minutes": 525, "worked": "08.75"})"));
  EXPECT_EQ(mary["minutes"], 525);
  EXPECT_EQ(mary["worked"], "08.75");
  // An IN without its OUT adds nothing.
  EXPECT_EQ(week["cards"][1]["days"][3]["punches"][0], "09:10");
  EXPECT_EQ(week["cards"][1]["minutes"], 0);
}

TEST(WorkedText, KeepsEveryHourAndRoundsHundredthsAsTheCardDoes) {
  // The card's 5-character total shows 105 hours as 05:00; a payroll export must not.
  const std::tuple<long long, int, const char*> cases[] = {{0, 0, "00:00"},     {525, 0, "08:45"},
                                                           {6300, 0, "105:00"}, {6300, 1, "105.00"},
                                                           {59, 1, "00.98"},    {1, 1, "00.02"}};
  for (const auto& [minutes, display, text] : cases)
    EXPECT_EQ(WorkedText(minutes, display), text) << minutes << " " << display;
}

TEST_F(ExportTest, WeekAndCardChoices) {
  PunchWeek();
  // This week by default, a day of the week, or the file's own name: the same cards.
  const json byDefault = Json({"export"});
  EXPECT_EQ(Json({"export", "--week", "2012-12-09"}), byDefault);
  EXPECT_EQ(Json({"export", "--week", "20121215"}), byDefault);
  const json blank = Json({"export", "--slot", "7"});
  ASSERT_EQ(blank["cards"].size(), 1u);
  EXPECT_EQ(blank["cards"][0]["slot"], 7);
  EXPECT_EQ(blank["cards"][0]["name"], "");
  EXPECT_EQ(blank["cards"][0]["days"][6]["date"], "2012-12-15");
  EXPECT_EQ(blank["cards"][0]["days"][6]["worked"], "00:00");
  EXPECT_EQ(blank["timeDisplay"], "hours:minutes");

  // --output: the same bytes in the file, nothing on standard output, no temporary file left.
  const fs::path output = top.path() / "out" / "week.json";
  fs::create_directories(output.parent_path());
  EXPECT_EQ(Out({"export", "--format", "json", "--output", output.string()}), "");
  EXPECT_EQ(json::parse(TestProgram::ReadFileBytes(output)), byDefault);
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

  const json week = Json({"export", "--all"});
  ASSERT_EQ(week["cards"].size(), 56u);
  const json& monday = week["cards"][2]["days"][1];
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
  CommandResult result;
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
  EXPECT_EQ(json::parse(result.out)["cards"][0]["days"][3]["punches"][1], "17:05");
  EXPECT_FALSE(fs::exists(CardFolder() / "_0121215.CLK"));
}

TEST_F(StatusTest, WhoIsInOnADayAndThePunchesOfTheWeekWithoutTheirPartner) {
  WriteRegister();
  // Wednesday (day 3): Mary came in at 08:00 and is still in; Joe worked 09:00-12:00; Anna went
  // out at 11:00 and came back, her return corrected from 11:30 to 11:45. Tuesday (day 2): Joe
  // forgot his OUT. Thursday (day 4): Mary's IN is missing, her OUT is not.
  const std::tuple<int, int, int, const char*> punches[] = {
      {3, 3, 1, "08:00"},  {5, 3, 1, "09:00"}, {5, 3, 2, "12:00"}, {12, 3, 1, "07:00"}, {12, 3, 2, "11:00"},
      {12, 3, 3, "11:30"}, {5, 2, 1, "08:30"}, {5, 2, 2, "12:30"}, {5, 2, 3, "13:15"},  {3, 4, 2, "17:00"}};
  for (const auto& [slot, day, punchSlot, time] : punches) Punch(slot, day, punchSlot, time);
  Correct(12, 3, 3, "11:45", 12, "FORGOT");

  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"status"},  // the correction counts before the punch
       "Clocked in on WEDNESDAY 2012-12-12:\n"
       "SLOT  NAME        ID#       IN SINCE\n"
       "   3  MARY SMITH  12345678  08:00\n"
       "  12  ANNA BAKER  A-12      11:45\n"},
      {{"status", "--format", "csv"},
       "slot,name,id,date,day,in\r\n"
       "3,MARY SMITH,12345678,2012-12-12,WEDNESDAY,08:00\r\n"
       "12,ANNA BAKER,A-12,2012-12-12,WEDNESDAY,11:45\r\n"},
      {{"status", "--date", "2012-12-09"}, "Nobody is clocked in on SUNDAY 2012-12-09.\n"},
      {{"status", "--week"},
       "Punches without their partner in the week ending SATURDAY 2012-12-15:\n"
       "SLOT  NAME        ID#       DAY        DATE        WITHOUT PARTNER\n"
       "   3  MARY SMITH  12345678  WEDNESDAY  2012-12-12  IN 08:00\n"
       "   3  MARY SMITH  12345678  THURSDAY   2012-12-13  OUT 17:00\n"
       "   5  JOE BROWN   55        TUESDAY    2012-12-11  IN 13:15\n"
       "  12  ANNA BAKER  A-12      WEDNESDAY  2012-12-12  IN 11:45\n"},
      {{"status", "--week", "--date", "2012-12-15", "--format", "csv"},
       "slot,name,id,date,day,punch,time,punch_slot\r\n"
       "3,MARY SMITH,12345678,2012-12-12,WEDNESDAY,IN,08:00,1\r\n"
       "3,MARY SMITH,12345678,2012-12-13,THURSDAY,OUT,17:00,2\r\n"
       "5,JOE BROWN,55,2012-12-11,TUESDAY,IN,13:15,3\r\n"
       "12,ANNA BAKER,A-12,2012-12-12,WEDNESDAY,IN,11:45,3\r\n"},
  };
  for (const auto& [arguments, text] : cases) {
    SCOPED_TRACE(::testing::PrintToString(arguments));
    EXPECT_EQ(Out(arguments), text);
  }

  const json today = Json({"status"});
  ASSERT_EQ(today["clockedIn"].size(), 2u);
  EXPECT_EQ(today["clockedIn"][1], json::parse(R"({"slot": 12, "name": "ANNA BAKER", "id": "A-12",
      "in": "11:45", "punchSlot": 3, "corrected": true})"));
  EXPECT_EQ(today["date"], "2012-12-12");
  // The day of a forgotten OUT: Joe still counts as in since his second IN.
  const json tuesday = Json({"status", "--date", "2012-12-11"});
  ASSERT_EQ(tuesday["clockedIn"].size(), 1u);
  EXPECT_EQ(tuesday["clockedIn"][0]["slot"], 5);
  EXPECT_EQ(tuesday["clockedIn"][0]["in"], "13:15");
  const json week = Json({"status", "--week"});
  ASSERT_EQ(week["unpaired"].size(), 4u);
  EXPECT_EQ(week["unpaired"][1]["punches"][0],
            json::parse(R"({"punchSlot": 2, "kind": "OUT", "time": "17:00", "corrected": false})"));
  EXPECT_EQ(week["weekEnding"], "2012-12-15");
}

TEST_F(StatusTest, TheWeekEndOfTheSharedRegisterFilePicksTheCardFile) {
  builder.SetWeekEnd(1);  // the week ends on Sunday: Wednesday 12-12 is in 20121216.CLK
  WriteRegister();
  Punch(3, 2, 1, "06:00", "20121216");
  const json status = Json({"status"});
  EXPECT_EQ(status["cardFile"], "20121216");
  EXPECT_EQ(status["day"], "WEDNESDAY");
  ASSERT_EQ(status["clockedIn"].size(), 1u);
  EXPECT_EQ(status["clockedIn"][0]["in"], "06:00");
}

}  // namespace
}  // namespace shiftlog
