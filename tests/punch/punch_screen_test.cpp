#include "punch/punch_screen.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "card_fixture.h"
#include "console/wait_key.h"
#include "reports/print_time_card.h"

namespace shiftlog {
namespace {

using testing::CardFixture;

constexpr int kTodayRow = 21;  // Saturday, the last day of a week ending Saturday
int PreviewColumn(int slot) {
  return 8 * slot + 7;
}

struct PunchScreenTest : CardFixture {
  // Runs the screen until its script is used up; the last frame then shows where it stood.
  void RunUntilScriptEnds() { EXPECT_THROW(PunchScreen(t.program), ScriptExhausted); }
  std::string Preview(int slot) const { return t.terminal.Text(kTodayRow, PreviewColumn(slot), 7); }
  // Moves the clock one second on every idle read, as the real one would.
  void LetTheClockRun() {
    t.terminal.onIdle = [this](int) { t.clock.AdvanceSeconds(1); };
  }
};

TEST_F(PunchScreenTest, FirstVisitOfTheWeekCreatesTheFileAndPreviewsTheRunningTime) {
  LetTheClockRun();
  t.terminal.Tick();
  RunUntilScriptEnds();
  EXPECT_EQ(Preview(1), " 09:00 ") << t.terminal.Dump();
  EXPECT_EQ(t.terminal.Attribute(kTodayRow, 16), 0x3F);  // the running time on cyan
  EXPECT_EQ(t.terminal.Text(1, 2, 10), " 9:00:00am");
  const std::string bytes = CardBytes();
  ASSERT_EQ(bytes.size(), 57u * 800u);
  EXPECT_EQ(bytes.substr(PunchAt(3, 6, 1), 5), "     ");
  EXPECT_EQ(t.terminal.Text(1, 63, 15), std::string(15, ' '));  // not a supervisor
}

TEST_F(PunchScreenTest, CtrlInsertStoresHoursAndMinutesOnDiskAndOnScreen) {
  SaveCardFile(NewCardFile());
  const std::string before = CardBytes();
  t.terminal.TypeExtended(kKeyCtrlInsert);  // at 08:59:59: the seconds are dropped, not rounded
  RunUntilScriptEnds();
  std::string expected = before;
  expected.replace(PunchAt(3, 6, 1), 5, "08:59");
  EXPECT_EQ(CardBytes(), expected);  // one field of one record, nothing else
  EXPECT_EQ(Preview(1), " 08:59 ");
  EXPECT_EQ(t.terminal.Attribute(kTodayRow, 16), 0x5F);  // a filled slot shows on magenta
  EXPECT_EQ(t.program.card.Text(kPunchRow, 6, 1), "08:59");
}

TEST_F(PunchScreenTest, CursorStartsAfterTheHighestFilledSlot) {
  std::string bytes = NewCardFile();
  bytes.replace(PunchAt(3, 6, 1), 5, "08:00");
  bytes.replace(PunchAt(3, 6, 2), 5, "12:00");
  bytes.replace(PunchAt(3, 5, 5), 5, "13:00");  // yesterday does not count
  SaveCardFile(bytes);
  RunUntilScriptEnds();
  EXPECT_EQ(t.terminal.Attribute(kTodayRow, PreviewColumn(3) + 1), 0x3F);
  EXPECT_EQ(t.terminal.Text(kTodayRow, 16, 5), "08:00");
  EXPECT_EQ(t.terminal.Attribute(kTodayRow, 16), 0x1F);
}

TEST_F(PunchScreenTest, AFilledLastSlotIsNeverOverwritten) {
  std::string bytes = NewCardFile();
  bytes.replace(PunchAt(3, 6, 8), 5, "17:00");
  SaveCardFile(bytes);
  t.terminal.TypeExtended(kKeyCtrlInsert);
  t.terminal.TypeExtended(kKeyCtrlInsert);
  RunUntilScriptEnds();
  EXPECT_EQ(CardBytes(), bytes);
  EXPECT_EQ(Preview(8), " 17:00 ");
  EXPECT_EQ(t.terminal.Beeps(), 0);
}

TEST_F(PunchScreenTest, AnEmptySlotBeforeAFilledOneCanStillBePunched) {
  std::string bytes = NewCardFile();
  bytes.replace(PunchAt(3, 6, 2), 5, "12:00");
  SaveCardFile(bytes);
  t.terminal.TypeExtended(kKeyLeft);
  t.terminal.TypeExtended(kKeyLeft);
  t.terminal.TypeExtended(kKeyCtrlInsert);
  RunUntilScriptEnds();
  EXPECT_EQ(CardBytes().substr(PunchAt(3, 6, 1), 10), "08:5912:00");
  EXPECT_EQ(Preview(1), " 08:59 ");
  // The cell the cursor left is back in the card's colours, its column lines intact.
  EXPECT_EQ(t.terminal.Text(kTodayRow, PreviewColumn(3), 7), std::string(7, ' '));
  EXPECT_EQ(t.terminal.Attribute(kTodayRow, PreviewColumn(3)), 0x1F);
  EXPECT_EQ(t.terminal.Character(kTodayRow, 30), 179);
  EXPECT_EQ(t.terminal.Character(kTodayRow, 38), 179);
}

TEST_F(PunchScreenTest, LeftAndRightWrapAround) {
  t.terminal.TypeExtended(kKeyLeft);  // 1 -> 8
  RunUntilScriptEnds();
  EXPECT_EQ(t.terminal.Attribute(kTodayRow, PreviewColumn(8) + 1), 0x3F);
  EXPECT_EQ(t.terminal.Attribute(kTodayRow, PreviewColumn(1) + 1), 0x1F);

  t.terminal.TypeExtended(kKeyLeft);   // 1 -> 8
  t.terminal.TypeExtended(kKeyRight);  // 8 -> 1
  t.terminal.TypeExtended(kKeyRight);  // 1 -> 2
  RunUntilScriptEnds();
  EXPECT_EQ(t.terminal.Attribute(kTodayRow, PreviewColumn(2) + 1), 0x3F);
}

TEST_F(PunchScreenTest, PlusShowsTheTotalsAndTheClosingKeyIsHandled) {
  std::string bytes = NewCardFile();
  bytes.replace(PunchAt(3, 6, 1), 10, "08:0012:30");
  bytes.replace(PunchAt(3, 5, 1), 10, "09:0017:00");
  SaveCardFile(bytes);
  t.terminal.Type("+");
  RunUntilScriptEnds();
  const std::string bar = t.terminal.RowText(25);
  EXPECT_EQ(bar.substr(0, 10), "SUN 0000 \xB3");
  EXPECT_EQ(bar.substr(50, 30), "FRI 0800 \xB3SAT 0430 \xB3TOT 1230 \xB3");

  // [RIGHT] closes the bar: the key bar comes back and the cursor moves on.
  t.terminal.Type("+");
  t.terminal.TypeExtended(kKeyRight);
  RunUntilScriptEnds();
  EXPECT_EQ(t.terminal.Text(25, 12, 26), " [CTRL] + [INSERT] = Punch");
  EXPECT_EQ(t.terminal.Character(25, 3), 27);
  EXPECT_EQ(t.terminal.Attribute(kTodayRow, PreviewColumn(4) + 1), 0x3F);

  // [ESC] closes the bar and ends the visit at once.
  t.terminal.Type("+");
  t.terminal.Type("\x1b");
  EXPECT_EQ(PunchScreen(t.program), PunchScreenExit::kReturnToRegister);
  EXPECT_EQ(t.console().screen.CellCharacter(25, 2), ' ');  // the screen was cleared
  EXPECT_EQ(t.console().screen.CellCharacter(1, 15), ' ');
}

TEST_F(PunchScreenTest, AWeekEndingOnSundayStartsOnMonday) {
  t.program.store.associates.weekEnd = 1;
  t.program.frame.thisWeekCard = "20121216";
  t.terminal.Type("+");
  RunUntilScriptEnds();
  EXPECT_EQ(CardBytes("20121216")[13], 1);
  EXPECT_EQ(t.terminal.Text(3, 2, 6), "MONDAY");
  EXPECT_EQ(t.terminal.Text(4, 2, 10), "12-10-2012");
  EXPECT_EQ(t.terminal.Text(21, 2, 6), "SUNDAY");
  EXPECT_EQ(t.terminal.Text(22, 2, 10), "12-16-2012");
  EXPECT_EQ(t.program.frame.todayIndex, 5);  // Saturday is the sixth day
  EXPECT_EQ(t.terminal.Attribute(18, PreviewColumn(1) + 1), 0x3F);
  const std::string bar = t.terminal.RowText(25);
  EXPECT_EQ(bar.substr(0, 4), "MON ");
  EXPECT_EQ(bar.substr(60, 4), "SUN ");
  EXPECT_EQ(bar.substr(70, 4), "TOT ");
}

TEST_F(PunchScreenTest, SupervisorsGetF8) {
  t.program.frame.loggedInSlot = 7;
  t.terminal.TypeExtended(kKeyF8);
  EXPECT_EQ(PunchScreen(t.program), PunchScreenExit::kSupervisorMenu);
  EXPECT_EQ(t.console().screen.CellCharacter(1, 63), '[');
  EXPECT_EQ(t.terminal.Text(1, 63, 15), "[F8]=Supervisor");
  EXPECT_EQ(t.program.frame.loggedInName, "CAROL CHIEF             ");
  EXPECT_EQ(t.program.frame.loggedInId, "00000007");
}

TEST_F(PunchScreenTest, OthersHaveNoF8WhileASupervisorExists) {
  t.terminal.TypeExtended(kKeyF8);
  t.terminal.TypeExtended(kKeyF11);  // acts as [ESC]
  EXPECT_EQ(PunchScreen(t.program), PunchScreenExit::kReturnToRegister);
  EXPECT_EQ(t.terminal.Beeps(), 0);

  t.program.store.associates.noSupervisor = 1;  // nobody marked: everybody may
  t.terminal.TypeExtended(kKeyF8);
  EXPECT_EQ(PunchScreen(t.program), PunchScreenExit::kSupervisorMenu);
  EXPECT_EQ(t.terminal.Text(1, 63, 15), "[F8]=Supervisor");
}

TEST_F(PunchScreenTest, TabAndTheDigitNineWithPrintingOffChangeNothing) {
  SaveCardFile(NewCardFile());
  const std::string before = CardBytes();
  t.terminal.Type("\t");
  t.terminal.Type("9");
  RunUntilScriptEnds();
  EXPECT_EQ(CardBytes(), before);
  EXPECT_EQ(t.terminal.Text(21, 2, 8), "SATURDAY");
  EXPECT_EQ(t.terminal.Attribute(kTodayRow, PreviewColumn(1) + 1), 0x3F);
}

TEST_F(PunchScreenTest, APunchKeepsWhatAnotherStationStoredMeanwhile) {
  SaveCardFile(NewCardFile());
  // While the card is on the screen, a supervisor at another station corrects today's first
  // IN and gives the day a reason.
  t.terminal.onIdle = [this](int) {
    std::string bytes = CardBytes();
    bytes.replace(CorrectionAt(3, 6, 1), 5, "08:30");
    bytes[CorrectorAt(3, 6, 1)] = 7;
    bytes.replace(ReasonAt(3, 6), 12, "LATE BUS    ");
    SaveCardFile(bytes);
    t.terminal.onIdle = nullptr;
  };
  t.terminal.Tick();
  t.terminal.TypeExtended(kKeyCtrlInsert);
  RunUntilScriptEnds();
  const std::string bytes = CardBytes();
  EXPECT_EQ(bytes.substr(PunchAt(3, 6, 1), 5), "08:59");
  EXPECT_EQ(bytes.substr(CorrectionAt(3, 6, 1), 5), "08:30");
  EXPECT_EQ(bytes[CorrectorAt(3, 6, 1)], 7);
  EXPECT_EQ(bytes.substr(ReasonAt(3, 6), 12), "LATE BUS    ");
  // The screen shows the card as stored.
  EXPECT_EQ(t.terminal.Text(kTodayRow + 1, 16, 5), "08:30");
  EXPECT_EQ(t.terminal.Text(kTodayRow + 2, 15, 5), "   7 ");
  EXPECT_EQ(t.terminal.Text(kTodayRow + 2, 2, 12), "LATE BUS    ");
  EXPECT_EQ(Preview(1), " 08:59 ");
}

TEST_F(PunchScreenTest, APunchIntoASlotAnotherStationFilledMeanwhileKeepsTheirs) {
  SaveCardFile(NewCardFile());
  t.terminal.onIdle = [this](int) {
    std::string bytes = CardBytes();
    bytes.replace(PunchAt(3, 6, 1), 5, "08:57");
    SaveCardFile(bytes);
    t.terminal.onIdle = nullptr;
  };
  t.terminal.Tick();
  t.terminal.TypeExtended(kKeyCtrlInsert);
  RunUntilScriptEnds();
  // Theirs stays, and this punch is not lost: it goes to the next slot, where the cursor follows.
  EXPECT_EQ(CardBytes().substr(PunchAt(3, 6, 1), 10), "08:5708:59");
  EXPECT_EQ(t.terminal.Text(kTodayRow, 16, 5), "08:57");
  EXPECT_EQ(Preview(2), " 08:59 ");
  EXPECT_EQ(t.terminal.Attribute(kTodayRow, PreviewColumn(2) + 1), 0x5F);
  EXPECT_EQ(t.terminal.Beeps(), 0);
}

TEST_F(PunchScreenTest, WhenTheDayWasFilledMeanwhileThePunchIsRefusedWithTheBeep) {
  SaveCardFile(NewCardFile());
  const std::string full =
      NewCardFile().replace(PunchAt(3, 6, 1), 40, "11:0012:0013:0014:0015:0016:0017:0018:00");
  t.terminal.onIdle = [&](int) {
    SaveCardFile(full);
    t.terminal.onIdle = nullptr;
  };
  t.terminal.Tick();
  t.terminal.TypeExtended(kKeyCtrlInsert);
  RunUntilScriptEnds();
  EXPECT_EQ(t.terminal.Beeps(), 1);
  EXPECT_EQ(Preview(1), " 11:00 ");  // the card as stored
}

TEST_F(PunchScreenTest, ZeroBytesInTodaysPunchesCountAsEmpty) {
  std::string bytes = NewCardFile();
  bytes.replace(PunchAt(3, 6, 1), 5, "08:00");
  bytes.replace(PunchAt(3, 6, 2), 40, std::string(40, '\0'));  // as an interrupted write leaves it
  SaveCardFile(bytes);
  t.terminal.TypeExtended(kKeyCtrlInsert);
  RunUntilScriptEnds();
  EXPECT_EQ(CardBytes().substr(PunchAt(3, 6, 1), 10), "08:0008:59");
}

TEST_F(PunchScreenTest, MonochromeColours) {
  t.console().displayMode = kMonochrome;
  t.terminal.TypeExtended(kKeyRight);
  RunUntilScriptEnds();
  EXPECT_EQ(t.terminal.Attribute(21, 2), 0x07);
  EXPECT_EQ(t.terminal.Attribute(kTodayRow, PreviewColumn(1)), 0x07);  // the cell it left
  EXPECT_EQ(t.terminal.Attribute(kTodayRow, PreviewColumn(2) + 1), 0x70);
  EXPECT_EQ(t.terminal.Attribute(25, 20), 0x07);
}

TEST_F(PunchScreenTest, AfterMidnightThePunchGoesIntoTheWeekOfToday) {
  // Start-up worked out last week's card; the PIN screen then waited overnight.
  t.program.frame.thisWeekCard = "20121208";
  t.terminal.TypeExtended(kKeyCtrlInsert);
  RunUntilScriptEnds();
  EXPECT_EQ(CardBytes().substr(PunchAt(3, 6, 1), 5), "08:59");
  EXPECT_FALSE(std::filesystem::exists(CardFile("20121208")));
  EXPECT_EQ(t.program.frame.thisWeekCard, "20121215");
}

// A card file that cannot be written: the folder entry is taken by a folder of that name.
void MakeCardUnwritable(const std::filesystem::path& file) {
  std::filesystem::remove(file);
  std::filesystem::create_directories(file);
}

TEST_F(PunchScreenTest, AFailedWriteIsReportedAndNoPunchIsShown) {
  SaveCardFile(NewCardFile());
  std::string shownDuringReport;
  t.terminal.onIdle = [&](int) {
    MakeCardUnwritable(CardFile());
    t.terminal.onIdle = [&](int) { shownDuringReport = t.terminal.Dump(); };
  };
  t.terminal.Tick();
  t.terminal.TypeExtended(kKeyCtrlInsert);
  t.terminal.Tick();     // the report waits for its answer
  t.terminal.Type("y");  // go on: the card comes back without the punch
  RunUntilScriptEnds();
  EXPECT_NE(shownDuringReport.find("Run-time error"), std::string::npos) << shownDuringReport;
  EXPECT_EQ(t.terminal.Dump().find("Run-time error"), std::string::npos) << t.terminal.Dump();
  EXPECT_EQ(t.terminal.Attribute(kTodayRow, PreviewColumn(1) + 1), 0x3F);  // still the running time
  EXPECT_EQ(t.terminal.Text(kTodayRow, 16, 5), "08:59");
  EXPECT_TRUE(t.program.card.Text(kPunchRow, 6, 1).empty());
  EXPECT_EQ(t.terminal.Text(21, 2, 8), "SATURDAY");
}

TEST_F(PunchScreenTest, AFailedWriteThatEndsTheProgramLeavesNoPunch) {
  SaveCardFile(NewCardFile());
  t.terminal.onIdle = [this](int) {
    MakeCardUnwritable(CardFile());
    t.terminal.onIdle = nullptr;
  };
  t.terminal.Tick();
  t.terminal.TypeExtended(kKeyCtrlInsert);
  t.terminal.Type("n");
  EXPECT_ANY_THROW(PunchScreen(t.program));  // the program ends from the report
  EXPECT_TRUE(t.program.card.Text(kPunchRow, 6, 1).empty());
}

TEST_F(PunchScreenTest, ACardThatCannotBeReadIsReportedAndTheVisitEnds) {
  MakeCardUnwritable(CardFile());
  t.terminal.Type("y");
  EXPECT_EQ(PunchScreen(t.program), PunchScreenExit::kReturnToRegister);
  EXPECT_EQ(t.terminal.Beeps(), 1);
  EXPECT_EQ(t.console().screen.CellCharacter(21, 2), ' ');  // no card was drawn
}

TEST_F(PunchScreenTest, TabAndNinePrintTheCardAndShowItAgainAsItWas) {
  std::string bytes = NewCardFile();
  bytes.replace(PunchAt(3, 6, 1), 5, "08:00");
  SaveCardFile(bytes);
  for (int setting : {1, 8}) t.program.printer[setting] = 1;  // printing on, the wide layout
  t.program.printer.deviceName = "LPT1:";
  t.host.printers.status = 199;  // off line: the printer error screen comes up first
  t.terminal.Type("x");          // a key that does nothing, so the cursor stands where it will
  RunUntilScriptEnds();
  const Frame before = t.terminal.LastFrame();
  // [TAB], then 2 on the error screen ends printing: nothing printed. 9, then 3 turns the quick
  // trap on: the check lets the card through.
  t.terminal.TypeText("\t2\r93\r");
  RunUntilScriptEnds();
  EXPECT_EQ(t.terminal.LastFrame(), before) << t.terminal.Dump();
  EXPECT_EQ(t.host.printers.opens, 1);
  std::string printed;
  const PrintedCard card{t.program.card, t.program.frame.loggedInName, t.program.frame.loggedInId, 3,
                         t.program.frame.weekDates};
  for (const std::string& piece : CardPrintout(card, CardPrintSettingsOf(t.program))) printed += piece;
  EXPECT_EQ(t.host.printers.printed, printed);
  EXPECT_EQ(CardBytes(), bytes);  // printing never touches the card file
}

// One associate at two stations (two processes on one store folder): both punch screens open
// on the same card and the same empty slot, one after the other punches. Every punch lands.
struct TwoStationsTest : PunchScreenTest {
  // A station's process and its socket pair with the test (the test's end, the station's).
  struct Station {
    pid_t pid = -1;
    int ends[2] = {-1, -1};
  };
  static void Send(int end) { EXPECT_EQ(write(end, "x", 1), 1); }
  static bool Receive(int end) {
    char c;
    return read(end, &c, 1) == 1;
  }
  // Starts station index's process for four visits, each: card shown (it says so), wait until told,
  // [CTRL]+[INSERT], [ESC] (it says so). It exits with the beeps heard (100 + n on a failure).
  void Start(Station& station, int index) {
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, station.ends), 0);
    station.pid = fork();
    ASSERT_GE(station.pid, 0);
    if (station.pid > 0) return;
    for (int visit = 0; visit < 4; ++visit) {
      t.clock.Set({2012, 12, 15, 8 + index, visit, 30, 0});  // a punch text of its own
      t.terminal.onIdle = [&](int) {
        Send(station.ends[1]);  // the card is on the screen
        if (!Receive(station.ends[1])) _exit(101);
        t.terminal.onIdle = nullptr;
      };
      t.terminal.Tick();
      t.terminal.TypeExtended(kKeyCtrlInsert);
      t.terminal.TypeExtended(kKeyEscape);
      if (PunchScreen(t.program) != PunchScreenExit::kReturnToRegister) _exit(102);
      Send(station.ends[1]);  // the visit is over
    }
    _exit(t.terminal.Beeps());
  }
  static int Finish(const Station& station) {
    int status = 0;
    waitpid(station.pid, &status, 0);
    close(station.ends[0]);
    close(station.ends[1]);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 200;
  }
};

TEST_F(TwoStationsTest, EightVisitsFromTwoStationsStoreEightPunches) {
  SaveCardFile(NewCardFile());
  Station stations[2];
  for (int index = 0; index < 2; ++index) Start(stations[index], index);
  for (int round = 0; round < 4; ++round) {
    // Both screens are open on the same card, cursor on the same slot, before either punches.
    for (const Station& station : stations) ASSERT_TRUE(Receive(station.ends[0])) << round;
    for (const Station& station : stations) {
      Send(station.ends[0]);
      ASSERT_TRUE(Receive(station.ends[0])) << round;
    }
  }
  for (const Station& station : stations) EXPECT_EQ(Finish(station), 0);  // no beep: every punch landed
  // Slot by slot, in the order the stations punched: 08:00 09:00 08:01 09:01 ...
  EXPECT_EQ(CardBytes().substr(PunchAt(3, 6, 1), 40), "08:0009:0008:0109:0108:0209:0208:0309:03");
  for (const auto& entry : std::filesystem::directory_iterator(CardFile().parent_path())) {
    EXPECT_EQ(entry.path().filename(), "20121215.CLK");  // no lock or temporary file left
  }
}

}  // namespace
}  // namespace shiftlog
