#include "reports/print_time_card.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "console/wait_key.h"
#include "reports/printer_check.h"
#include "store/register_file_builder.h"
#include "support/test_program.h"

namespace shiftlog {
namespace {

using testing::FakePrinterPorts;
using testing::TestProgram;

const KeyText kEnter = "\r";
const KeyText kEsc = "\x1b";
constexpr int kNotReady = 199;

struct PrintTimeCardTest : ::testing::Test {
  PrintTimeCardTest() {
    t.program.store.configName = "STORE";
    t.program.printer[1] = 1;
    t.program.printer[8] = 1;
    t.program.printer[7] = 1;
    t.program.printer.deviceName = "LPT1:";
    card.Text(kPunchRow, 0, 1) = "08:00";
    card.reasons[2] = "DOCTOR      ";
    // The card screen the printout is started from.
    t.console().SetColours(15, 1, 7, 0);
    t.console().screen.ClearScreen();
    t.console().screen.Locate(3, 2);
    t.console().screen.PrintText("SUNDAY");
    t.console().screen.Locate(21, 15, false);
    t.console().screen.SetColour(15, 5);
  }

  PrintOutcome Print() { return PrintTimeCard(t.program, Card(), CardPrintSettingsOf(t.program)); }
  PrintedCard Card() const { return PrintedCard{card, "BOB BAKER               ", "00001234", 3, dates}; }
  std::string CardBytes() const {
    std::string bytes;
    for (const std::string& piece : CardPrintout(Card(), CardPrintSettingsOf(t.program))) bytes += piece;
    return bytes;
  }
  void WriteReadyStatus(int value) {
    RegisterFileBuilder builder;
    builder.SetPrinterReadyStatus(value);
    ASSERT_TRUE(builder.WriteTo(t.host.store / "STORE.TIL"));
  }
  std::string StoreFile(const char* name) const { return TestProgram::ReadFileBytes(t.host.store / name); }
  FakePrinterPorts& ports() { return t.host.printers; }
  Screen& screen() { return t.console().screen; }

  TestProgram t;
  TimeCard card;
  std::array<std::string, 7> dates = {"12-09-2012", "12-10-2012", "12-11-2012", "12-12-2012",
                                      "12-13-2012", "12-14-2012", "12-15-2012"};
};

TEST_F(PrintTimeCardTest, PrintsWithoutAScreenWhenThePrinterNeedsNoQuestion) {
  struct Case {
    const char* device;
    int quickTrap;
    int readyByte;  // -1: no register data file at all
    int status;
    int statusReads;
    int port;
  };
  const Case cases[] = {
      {"WLSDFKJN.DRY", 0, 0, kNotReady, 0, 0},  // a print file needs no check
      {"LPT1:", 1, 0, kNotReady, 0, 1},         // quick trap on: the status is not even read
      {"LPT1:", 0, 144, 144, 1, 1},             // the store's own ready value
      {"LPT1:", 0, 0, 223, 1, 1},               // a ready byte of 0 stands for 223
      {"LPT1:", 0, -1, 223, 1, 1},              // and so does a missing register data file
      {"lpt3", 0, -1, 223, 1, 3},               // another port is asked about itself
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.device << " quick trap " << c.quickTrap << " ready " << c.readyByte);
    t.host.printers = FakePrinterPorts{};
    t.program.printer.deviceName = c.device;
    t.program.printerCheck.quickTrap = c.quickTrap;
    std::filesystem::remove(t.host.store / "STORE.TIL");
    std::filesystem::remove(t.host.store / "WLSDFKJN.DRY");
    if (c.readyByte >= 0) WriteReadyStatus(c.readyByte);
    ports().status = c.status;

    EXPECT_EQ(Print(), PrintOutcome::kPrinted);
    EXPECT_EQ(ports().statusReads, c.statusReads);
    if (c.port == 0) {
      EXPECT_EQ(StoreFile("WLSDFKJN.DRY"), CardBytes());
      EXPECT_EQ(ports().opens, 0);
    } else {
      EXPECT_EQ(ports().printed, CardBytes());
      EXPECT_EQ(ports().lastPort, c.port);
    }
    EXPECT_EQ(t.terminal.Presents(), 0);
    EXPECT_EQ(t.terminal.Beeps(), 0);
    EXPECT_EQ(t.program.printerCheck.prePrint, 0);
  }
  EXPECT_FALSE(std::filesystem::exists(t.host.store / "NULL"));
}

TEST_F(PrintTimeCardTest, PrintingOffPrintsNothingAndAsksNothing) {
  t.program.printer[1] = 0;
  ports().status = kNotReady;
  EXPECT_EQ(Print(), PrintOutcome::kNotPrinted);
  EXPECT_EQ(ports().statusReads, 0);
  EXPECT_EQ(ports().opens, 0);
  EXPECT_EQ(t.terminal.Presents(), 0);
}

TEST_F(PrintTimeCardTest, ErrorScreenOnlyEnterClosesAndTheScreenBelowStaysAsItWas) {
  ports().status = kNotReady;
  const Page before = screen().PageAt(0);
  const CursorState cursor = screen().Cursor();
  t.terminal.Type(kEsc);
  t.terminal.TypeExtended(kKeyF11);
  t.terminal.TypeText("9");  // the key code of [TAB]: ends the menu, not the screen
  t.terminal.TypeText("2");
  t.terminal.Type(kEnter);
  EXPECT_EQ(Print(), PrintOutcome::kNotPrinted);
  EXPECT_EQ(ports().opens, 0);

  // The last frame shown is the screen waiting for that [ENTER].
  const ScriptedTerminal& shown = t.terminal;
  EXPECT_EQ(shown.Text(3, 33, 16), "PRINTER  ERROR! ") << shown.Dump();
  EXPECT_EQ(shown.Attribute(3, 33), 0xCF);  // blinking bright white on red
  EXPECT_EQ(shown.Text(3, 59, 6), "  199 ");
  EXPECT_EQ(shown.Text(5, 33, 15), "Possible causes");
  EXPECT_EQ(shown.Text(6, 16, 48), "1. You don't have a printer. (Oh? Are you sure?)");
  EXPECT_EQ(shown.Text(14, 16, 11), "9. Unknown.");
  EXPECT_EQ(shown.Text(19, 34, 12), "Choose......");
  EXPECT_EQ(shown.Text(21, 14, 53), " 2. Problem unknown or insurmountable, end printing. ");
  EXPECT_EQ(shown.Attribute(21, 14), 0x3F);
  EXPECT_EQ(shown.Text(22, 14, 38), " 3. Turn on quick printer error trap. ");
  // Red and blue panels with black shadows right of and below them, and their frames.
  EXPECT_EQ(shown.Attribute(10, 13), 0x4F);
  EXPECT_EQ(shown.Attribute(10, 67), 0x0F);
  EXPECT_EQ(shown.Attribute(2, 67), before.At(2, 67).attribute);
  EXPECT_EQ(shown.Attribute(16, 15), 0x0F);
  EXPECT_EQ(shown.Character(2, 14), 201);
  EXPECT_EQ(shown.Character(23, 67), 188);
  EXPECT_EQ(shown.Attribute(24, 70), 0x0F);
  EXPECT_EQ(t.terminal.Beeps(), 1);  // once, not again for every round of the menu

  // Drawn on a page of its own: the card screen, position, colours and cursor are as they were.
  EXPECT_EQ(screen().PageAt(0), before);
  EXPECT_EQ(screen().ShownPage(), 0);
  EXPECT_EQ(screen().WrittenPage(), 0);
  EXPECT_EQ(screen().Cursor(), cursor);
  EXPECT_EQ(screen().Foreground(), 15);
  EXPECT_EQ(screen().Background(), 5);
}

TEST_F(PrintTimeCardTest, MonochromeErrorScreenUsesTheMonochromeForegroundOnBlack) {
  t.console().displayMode = kMonochrome;
  t.console().monoForeground = 15;
  ports().status = kNotReady;
  const Page before = screen().PageAt(0);
  EXPECT_THROW(Print(), ScriptExhausted);
  EXPECT_EQ(t.terminal.Text(3, 33, 16), "PRINTER  ERROR! ");
  EXPECT_EQ(t.terminal.Attribute(3, 33), 0x0F);
  EXPECT_EQ(t.terminal.Attribute(10, 13), 0x0F);
  EXPECT_EQ(t.terminal.Attribute(10, 67), before.At(10, 67).attribute);  // no shadow
  EXPECT_EQ(t.terminal.Attribute(20, 14), 0x70);  // the menu bar: black on the brightest background
}

TEST_F(PrintTimeCardTest, ItemThreeTogglesTheQuickTrapAndItsText) {
  ports().status = kNotReady;
  t.terminal.TypeText("3");
  t.terminal.Type(kEnter);
  // The trap is on now: the check again lets the card through without the status.
  EXPECT_EQ(Print(), PrintOutcome::kPrinted);
  EXPECT_EQ(t.program.printerCheck.quickTrap, 1);
  EXPECT_EQ(ports().statusReads, 1);
  EXPECT_EQ(ports().printed, CardBytes());

  // A failure while printing still brings up the screen, which now offers to turn it off.
  ports().failWrites = 1;
  EXPECT_THROW(Print(), ScriptExhausted);
  EXPECT_EQ(t.terminal.Text(22, 14, 39), " 3. Turn off quick printer error trap. ");
}

TEST_F(PrintTimeCardTest, FailuresWhilePrintingRetryOrEndInTheNullFile) {
  struct Case {
    const char* what;
    std::string device;
    bool wholeJobs;
    int failOpens, failWrites, failFinishes;
    const char* keys;  // digits typed, each followed by [ENTER]
    PrintOutcome outcome;
  };
  const Case cases[] = {
      {"check again, then retry the write", "LPT1:", false, 0, 1, 0, "13", PrintOutcome::kPrinted},
      {"end printing after a failed write", "LPT1:", false, 0, 1, 0, "2", PrintOutcome::kSentToNull},
      {"retry a failed open", "LPT2:", false, 1, 0, 0, "3", PrintOutcome::kPrinted},
      {"end printing at a failed open", "LPT1:", false, 1, 0, 0, "2", PrintOutcome::kSentToNull},
      {"spooler refuses the job, retry", "LPT1:", true, 0, 0, 1, "3", PrintOutcome::kPrinted},
      {"spooler refuses the job, end", "LPT1:", true, 0, 0, 2, "12", PrintOutcome::kSentToNull},
      // A print file that cannot be written (here a folder in its way, whoever runs the test)
      // gets the screen too, so printing can be ended instead of retried for ever.
      {"print file blocked", "WLSDFKJN.DRY", false, 0, 0, 0, "32", PrintOutcome::kSentToNull},
      // The printer record file's port field may be empty or hold zero bytes.
      {"empty device name", "", false, 0, 0, 0, "2", PrintOutcome::kSentToNull},
      {"device name of zero bytes", std::string(4, '\0'), false, 0, 0, 0, "2", PrintOutcome::kSentToNull},
  };
  std::filesystem::create_directory(t.host.store / "WLSDFKJN.DRY");
  for (const Case& c : cases) {
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
    for (const char* key = c.keys; *key != '\0'; ++key) {
      t.terminal.TypeText(std::string(1, *key));
      t.terminal.Type(kEnter);
    }
    t.terminal.ResetBeeps();
    const Page before = screen().PageAt(0);

    EXPECT_EQ(Print(), c.outcome);
    EXPECT_EQ(t.terminal.PendingKeys(), 0u);
    EXPECT_EQ(t.terminal.Beeps(), static_cast<int>(std::string(c.keys).size()));  // one screen per answer
    // Whatever reached the printer and what went to "NULL" make the card once, in order.
    EXPECT_EQ(ports().printed + StoreFile("NULL"), CardBytes());
    EXPECT_EQ(std::filesystem::exists(t.host.store / "NULL"), c.outcome == PrintOutcome::kSentToNull);
    EXPECT_EQ(t.program.frame.errorFlag, c.outcome == PrintOutcome::kSentToNull ? 1 : 0);
    EXPECT_EQ(screen().PageAt(0), before);
    EXPECT_EQ(screen().ShownPage(), 0);
  }
}

TEST_F(PrintTimeCardTest, SmallDialogWithoutASecondPage) {
  t.console().noGraphics = 1;
  ports().status = kNotReady;
  const Page before = screen().PageAt(0);
  const CursorState cursor = screen().Cursor();

  // Any key is the answer: [ENTER] gives 13, which the check before printing asks again for.
  t.program.printerCheck.prePrint = 1;
  t.terminal.Type(kEnter);
  int result = 0;
  CheckPrinter(t.program, "LPT1:", result);
  EXPECT_EQ(result, 13);
  EXPECT_EQ(screen().PageAt(0), before);
  EXPECT_EQ(screen().Cursor(), cursor);
  EXPECT_EQ(screen().Foreground(), 15);
  EXPECT_EQ(screen().Background(), 5);
  t.program.printerCheck.prePrint = 0;

  // "1" asks again, "2" cancels; a failure while printing retries on any other key.
  t.terminal.TypeText("12");
  EXPECT_EQ(Print(), PrintOutcome::kNotPrinted);
  ports().status = 223;
  ports().failWrites = 1;
  t.terminal.TypeText("x");
  EXPECT_EQ(Print(), PrintOutcome::kPrinted);
  EXPECT_EQ(ports().printed, CardBytes());
  EXPECT_EQ(screen().PageAt(0), before);

  // While it waits: the dialog on green over rows 9 to 14.
  ports().failWrites = 1;
  EXPECT_THROW(Print(), ScriptExhausted);
  EXPECT_EQ(t.terminal.Text(10, 32, 16), " PRINTER ERROR  ");
  EXPECT_EQ(t.terminal.Text(13, 32, 16), "3. Error off.   ");
  EXPECT_EQ(t.terminal.Attribute(11, 30), 0x2F);
  EXPECT_EQ(t.terminal.Character(9, 31), 201);
  EXPECT_EQ(t.terminal.Attribute(15, 30), before.At(15, 30).attribute);
}

}  // namespace
}  // namespace shiftlog
