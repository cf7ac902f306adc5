#include "reports/print_time_card.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "console/wait_key.h"
#include "store/register_file_builder.h"
#include "store/weeks.h"
#include "support/test_program.h"

namespace shiftlog {
namespace {

using testing::FakePrinterPorts;
using testing::TestProgram;

const KeyText kEnter = "\r";
constexpr int kNotReady = 199;

// Card 3 printed to LPT1: in the wide layout with a form feed, started from a card screen.
struct PrintTimeCardTest : ::testing::Test {
  PrintTimeCardTest() {
    t.program.store.configName = "STORE";
    for (const int n : {1, 7, 8}) t.program.printer[n] = 1;
    t.program.printer.deviceName = "LPT1:";
    card.Text(kPunchRow, 0, 1) = "08:00";
    card.reasons[2] = "DOCTOR      ";
    t.console().SetColours(15, 1, 7, 0);
    screen().ClearScreen();
    screen().Locate(3, 2);
    screen().PrintText("SUNDAY");
    screen().Locate(21, 15, false);
    screen().SetColour(15, 5);
    before = screen().PageAt(0);
    cursor = screen().Cursor();
  }

  PrintOutcome Print() { return PrintTimeCard(t.program, Card(), CardPrintSettingsOf(t.program)); }
  PrintedCard Card() const { return PrintedCard{card, "BOB BAKER               ", "00001234", 3, dates}; }
  std::string CardBytes() const {
    std::string bytes;
    for (const std::string& piece : CardPrintout(Card(), CardPrintSettingsOf(t.program))) bytes += piece;
    return bytes;
  }
  std::string StoreFile(const char* name) const { return TestProgram::ReadFileBytes(t.host.store / name); }
  FakePrinterPorts& ports() { return t.host.printers; }
  Screen& screen() { return t.console().screen; }
  // The card screen below the printer's screens is as it was: page, position, colours, cursor.
  void ExpectCardScreenKept() {
    EXPECT_EQ(screen().PageAt(0), before);
    EXPECT_EQ(screen().ShownPage() + screen().WrittenPage(), 0);
    EXPECT_EQ(screen().Cursor(), cursor);
    EXPECT_EQ(std::pair(screen().Foreground(), screen().Background()), std::pair(15, 5));
  }

  TestProgram t;
  TimeCard card;
  std::array<std::string, 7> dates = ComputeCardWeek("12-15-2012", 6).dates;
  Page before;
  CursorState cursor;
};

TEST_F(PrintTimeCardTest, PrintsWithoutAScreenWhenThePrinterNeedsNoQuestion) {
  const struct {
    const char* device;
    int quickTrap;
    int readyByte;  // -1: no register data file at all
    int status, statusReads, port;
  } cases[] = {
      {"WLSDFKJN.DRY", 0, 0, kNotReady, 0, 0},  // a print file needs no check
      {"LPT1:", 1, 0, kNotReady, 0, 1},         // quick trap on: the status is not even read
      {"LPT1:", 0, 144, 144, 1, 1},             // the store's own ready value
      {"LPT1:", 0, 0, 223, 1, 1},               // a ready byte of 0 stands for 223
      {"LPT1:", 0, -1, 223, 1, 1},              // and so does a missing register data file
      {"lpt3", 0, -1, 223, 1, 3},               // another port is asked about itself
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.device << " quick trap " << c.quickTrap << " ready " << c.readyByte);
    t.host.printers = FakePrinterPorts{};
    t.program.printer.deviceName = c.device;
    t.program.printerCheck.quickTrap = c.quickTrap;
    std::filesystem::remove(t.host.store / "STORE.TIL");
    if (c.readyByte >= 0) {
      RegisterFileBuilder builder;
      builder.SetPrinterReadyStatus(c.readyByte);
      ASSERT_TRUE(builder.WriteTo(t.host.store / "STORE.TIL"));
    }
    ports().status = c.status;

    EXPECT_EQ(Print(), PrintOutcome::kPrinted);
    EXPECT_EQ(ports().statusReads, c.statusReads);
    EXPECT_EQ(c.port == 0 ? StoreFile("WLSDFKJN.DRY") : ports().printed, CardBytes());
    EXPECT_EQ(c.port == 0 ? ports().opens : ports().lastPort, c.port);
    EXPECT_EQ(t.terminal.Presents() + t.terminal.Beeps(), 0);
  }
  EXPECT_FALSE(std::filesystem::exists(t.host.store / "NULL"));

  t.program.printer[1] = 0;  // printing off: nothing printed, nothing asked
  t.host.printers = FakePrinterPorts{};
  ports().status = kNotReady;
  EXPECT_EQ(Print(), PrintOutcome::kNotPrinted);
  EXPECT_EQ(ports().statusReads + ports().opens + t.terminal.Presents(), 0);
}

// The screen's look is the printer error picture's; what the picture cannot show is checked here.
TEST_F(PrintTimeCardTest, ErrorScreenOnlyEnterClosesAndTheScreenBelowStaysAsItWas) {
  ports().status = kNotReady;
  t.terminal.Type("\x1b");
  t.terminal.TypeExtended(kKeyF11);
  t.terminal.TypeText("92");  // 9, the key code of [TAB], ends the menu, not the screen
  t.terminal.Type(kEnter);
  EXPECT_EQ(Print(), PrintOutcome::kNotPrinted);
  EXPECT_EQ(ports().opens, 0);
  EXPECT_EQ(t.terminal.Attribute(3, 33), 0xCF) << t.terminal.Dump();  // the title blinks
  EXPECT_EQ(t.terminal.Attribute(21, 14), 0x3F);                      // the bar on item 2
  EXPECT_EQ(t.terminal.Beeps(), 1);  // once, not again for every round of the menu
  ExpectCardScreenKept();            // the screen had a page of its own
}

// Item 3 turns the quick trap on (the check then lets the card through without the status) and
// off; the monochrome screen is the monochrome foreground on black, without a shadow.
TEST_F(PrintTimeCardTest, ItemThreeTogglesTheQuickTrapAndItsTextInMonochrome) {
  t.console().displayMode = kMonochrome;
  t.console().monoForeground = 15;
  ports().status = kNotReady;
  t.terminal.TypeText("3");
  t.terminal.Type(kEnter);
  EXPECT_EQ(Print(), PrintOutcome::kPrinted);
  EXPECT_EQ(t.program.printerCheck.quickTrap, 1);
  EXPECT_EQ(ports().statusReads, 1);
  // A failure while printing still brings up the screen, which now offers to turn it off.
  ports().failWrites = 1;
  EXPECT_THROW(Print(), ScriptExhausted);
  EXPECT_EQ(t.terminal.Text(22, 14, 39), " 3. Turn off quick printer error trap. ");
  EXPECT_EQ(t.terminal.Attribute(3, 33), 0x0F);
  EXPECT_EQ(t.terminal.Attribute(10, 13), 0x0F);
  EXPECT_EQ(t.terminal.Attribute(20, 14), 0x70);
  EXPECT_EQ(t.terminal.Attribute(10, 67), before.At(10, 67).attribute);
}

TEST_F(PrintTimeCardTest, FailuresWhilePrintingRetryOrEndInTheNullFile) {
  const struct {
    const char* what;
    std::string device;
    bool wholeJobs;
    int failOpens, failWrites, failFinishes;
    const char* keys;  // digits typed, each followed by [ENTER]
    PrintOutcome outcome;
  } cases[] = {
      {"check again, then retry the write", "LPT1:", false, 0, 1, 0, "13", PrintOutcome::kPrinted},
      {"end printing after a failed write", "LPT1:", false, 0, 1, 0, "2", PrintOutcome::kSentToNull},
      {"retry a failed open", "LPT2:", false, 1, 0, 0, "3", PrintOutcome::kPrinted},
      {"end printing at a failed open", "LPT1:", false, 1, 0, 0, "2", PrintOutcome::kSentToNull},
      {"spooler refuses the job, retry", "LPT1:", true, 0, 0, 1, "3", PrintOutcome::kPrinted},
      {"spooler refuses the job, end", "LPT1:", true, 0, 0, 2, "12", PrintOutcome::kSentToNull},
      // A print file that cannot be written (a folder in its way) can be ended, not retried for ever.
      {"print file blocked", "WLSDFKJN.DRY", false, 0, 0, 0, "32", PrintOutcome::kSentToNull},
      // The printer record file's port field may be empty or hold zero bytes.
      {"empty device name", "", false, 0, 0, 0, "2", PrintOutcome::kSentToNull},
      {"device name of zero bytes", std::string(4, '\0'), false, 0, 0, 0, "2", PrintOutcome::kSentToNull},
  };
  std::filesystem::create_directory(t.host.store / "WLSDFKJN.DRY");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    t.host.printers = FakePrinterPorts{};
    t.program.printerCheck.quickTrap = 0;
    std::filesystem::remove(t.host.store / "NULL");
    t.program.printer.deviceName = c.device;
    ports().wholeJobs = c.wholeJobs;
    ports().failOpens = c.failOpens;
    ports().failWrites = c.failWrites;
    ports().bytesBeforeFailure = 10;
    ports().failFinishes = c.failFinishes;
    for (const char digit : std::string(c.keys)) t.terminal.TypeText({digit, '\r'});
    t.terminal.ResetBeeps();

    EXPECT_EQ(Print(), c.outcome);
    EXPECT_EQ(t.terminal.PendingKeys(), 0u);
    EXPECT_EQ(t.terminal.Beeps(), static_cast<int>(std::string(c.keys).size()));  // one screen per answer
    // Whatever reached the printer and what went to "NULL" make the card once, in order.
    EXPECT_EQ(ports().printed + StoreFile("NULL"), CardBytes());
    const bool gaveUp = c.outcome == PrintOutcome::kSentToNull;
    EXPECT_EQ(std::filesystem::exists(t.host.store / "NULL"), gaveUp);
    EXPECT_EQ(t.program.frame.errorFlag, gaveUp ? 1 : 0);
    ExpectCardScreenKept();
  }
}

TEST_F(PrintTimeCardTest, SmallDialogWithoutASecondPage) {
  t.console().noGraphics = 1;
  ports().status = kNotReady;
  // Any key is the answer: "1" asks again, "2" cancels; a failure while printing retries on any other key.
  t.terminal.TypeText("12");
  EXPECT_EQ(Print(), PrintOutcome::kNotPrinted);
  ports().status = 223;
  ports().failWrites = 1;
  t.terminal.TypeText("x");
  EXPECT_EQ(Print(), PrintOutcome::kPrinted);
  ExpectCardScreenKept();

  // While it waits: the dialog on green over rows 9 to 14.
  ports().failWrites = 1;
  EXPECT_THROW(Print(), ScriptExhausted);
  EXPECT_EQ(t.terminal.Text(10, 32, 16) + t.terminal.Text(13, 32, 16), " PRINTER ERROR  3. Error off.   ");
  EXPECT_EQ(t.terminal.Attribute(11, 30), 0x2F);
  EXPECT_EQ(t.terminal.Character(9, 31), 201);
  EXPECT_EQ(t.terminal.Attribute(15, 30), before.At(15, 30).attribute);
}

}  // namespace
}  // namespace shiftlog
