// The export dialog of the time card viewer and the transmit to the SEND folder, over a stored week.
#include "reports/export_dialog.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "console/wait_key.h"
#include "punch/card_fixture.h"
#include "reports/export_files.h"
#include "reports/export_time_cards.h"
#include "reports/transmit_cards.h"
#include "store/time_card_file.h"
#include "store/weeks.h"
#include "text/text_fields.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;
using testing::TestProgram;
using Names = std::vector<std::string>;

const KeyText kEnter = "\r";
const KeyText kEsc = "\x1b";
const KeyText kTab = "\t";

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

Names Listing(const fs::path& folder) {
  Names names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// Last week's card file 20121208.CLK in the card folder STORE, where card 3 (BOB BAKER) and card
// 17 (no name) hold times, card 7 (CAROL CHIEF) only a name, and every other card is blank; an
// older week's file beside it.
struct ExportTest : testing::CardFixture {
  ExportTest() {
    t.program.frame.cardNameInUse = "20121208";
    t.program.frame.dateText = "12-08-2012";
    t.program.frame.weekDates = ComputeCardWeek("12-08-2012", 6).dates;
    std::string bytes = NewCardFile();
    bytes.replace(PunchAt(3, 1, 1), 10, "08:0013:45");
    bytes.replace(PunchAt(17, 4, 1), 10, "13:0013:30");
    SaveCardFile(bytes, "20121208");
    SaveCardFile(NewCardFile(), "20121201");
    t.program.printer[1] = 1;
  }
  // Types the keys and runs the screen until it returns (true) or the keys run out (false).
  bool Run(const std::vector<KeyText>& keys, const std::function<void()>& screen) {
    for (const KeyText& key : keys) t.terminal.Type(key);
    try {
      screen();
      return true;
    } catch (const ScriptExhausted&) {
      return false;
    }
  }
  // The dialog over card slot as the viewer shows it.
  bool Dialog(int slot, const std::vector<KeyText>& keys) {
    std::string name, id;
    EXPECT_TRUE(ReadTimeCard(t.program.store, t.program.card, name, slot, "20121208", id));
    return Run(keys, [&] {
      ExportDialog(t.program, t.program.card, name, t.program.frame.weekDates, id, "20121208", slot);
    });
  }
  // The chooser starts on the newest file, 20121208.
  bool Transmit(const std::vector<KeyText>& keys) {
    return Run(keys, [&] { TransmitCards(t.program); });
  }
  std::string Exported(bool all, ExportKind kind, int slot = 0) {
    std::string bytes;
    EXPECT_TRUE(ExportTimeCards(t.program, all, kind, slot, bytes));
    return bytes;
  }
  fs::path CardFolder() const { return t.host.store / "STORE"; }
  fs::path Send() const { return t.host.store / "SEND"; }
};

// All cards with data (a name alone counts), in order, are the export road's.
TEST_F(ExportTest, ExportTimeCardsReadsEachCardAfreshAndLeavesTheCallersCardAlone) {
  t.program.card.Text(kPunchRow, 0, 1) = "11:11";
  EXPECT_NE(Exported(false, ExportKind::kText, 40).find("CARD # 40 "), std::string::npos);  // one blank card
  EXPECT_EQ(t.program.card.Text(kPunchRow, 0, 1), "11:11");
  // The header of the card file read is the store's settings in force afterwards.
  std::string bytes = CardBytes("20121208");
  bytes.replace(0, 13, "\1FROM FILE   ");
  SaveCardFile(bytes, "20121208");
  const std::string decimal = Exported(false, ExportKind::kData, 3);
  EXPECT_NE(decimal.find("STORE ID = ,FROM FILE   \r\n"), std::string::npos);
  EXPECT_NE(decimal.find("MONDAY,08.00,13.75,"), std::string::npos);
}

// One card as DATA under the proposed name is the export road's.
TEST_F(ExportTest, SavesUnderTheProposedOrTypedNameOnTheChosenDrive) {
  const fs::path driveF = t.folder.path() / "f";
  fs::create_directories(driveF);
  t.host.drives['F'] = driveF;
  t.host.drives['G'] = t.folder.path() / "gone";
  const struct {
    int slot;
    std::vector<KeyText> keys;  // from the menu on "1. Print"
    bool onF;                   // saved on drive F:, else in the card folder
    std::string name;
    int beeps;
  } cases[] = {
      {7, {"2", kEnter, kEnter}, false, "12120807.TMT", 0},
      {3, {kTab, "3", kEnter, kEnter}, false, "121208AL.TMD", 0},
      // Characters a file name may not hold are refused with the beep; the others overwrite.
      {3, {"2", kEnter, "a", "\\", "/", ":", ".", " ", "*", "b", kEnter}, false, "AB120803.TMT", 6},
      // Another drive: keys outside A to P change nothing; the file goes to that drive's top.
      {3, {"3", kEnter, kTab, "Q", "1", ExtendedKey(kKeyDown), "f", kEnter}, true, "12120803.TMD", 0},
      // A drive that is not ready keeps the edited name for another try.
      {3, {"3", kEnter, "X", kTab, "g", kEnter, "x", kTab, "F", kEnter}, true, "X2120803.TMD", 1},
  };
  for (const auto& c : cases) {
    const std::string message = (c.onF ? "SAVED AS F:" : "SAVED AS STORE\\") + c.name;
    SCOPED_TRACE(message);
    t.terminal.ResetBeeps();
    EXPECT_FALSE(Dialog(c.slot, c.keys));
    const int length = static_cast<int>(message.size());
    EXPECT_EQ(t.terminal.Text(15, CentredColumn(40, length), length), message);
    EXPECT_EQ(t.terminal.Attribute(15, CentredColumn(40, length)), 0x4F);
    EXPECT_EQ(t.terminal.Beeps(), c.beeps);
    const ExportKind kind = c.name.ends_with(".TMT") ? ExportKind::kText : ExportKind::kData;
    EXPECT_EQ(TestProgram::ReadFileBytes((c.onF ? driveF : CardFolder()) / c.name),
              Exported(c.name.substr(6, 2) == "AL", kind, c.slot));
  }
  EXPECT_EQ(Listing(driveF), (Names{"12120803.TMD", "X2120803.TMD"}));  // no TEST.DAT

  // The other drive's message while it is shown, and the name kept after it; [ESC] saves nothing.
  EXPECT_FALSE(Dialog(5, {"3", kEnter, kTab, "G", kEnter}));
  EXPECT_EQ(t.terminal.Text(21, 31, 18) + t.terminal.Text(20, 33, 14), "DRIVE G: NOT READYG:12120805.TMD");
  EXPECT_TRUE(Dialog(5, {"3", kEnter, kTab, "G", kEnter, "x", kEsc, kEsc}));
  EXPECT_FALSE(fs::exists(CardFolder() / "12120805.TMD"));

  // A file that cannot be written is not reported saved and leaves nothing.
  fs::create_directories(CardFolder() / "12120803.TMT");  // a folder holds the name
  EXPECT_FALSE(Dialog(3, {"2", kEnter, kEnter}));
  EXPECT_EQ(t.terminal.RowText(15).find("SAVED AS"), std::string::npos);
  EXPECT_NE(t.terminal.RowText(15).find("12120803.TMT NOT SAVED: "), std::string::npos);
  EXPECT_TRUE(Listing(CardFolder() / "12120803.TMT").empty());
  EXPECT_EQ(Listing(CardFolder()), (Names{"12120803.TMT", "12120807.TMT", "121208AL.TMD", "20121201.CLK",
                                          "20121208.CLK", "AB120803.TMT"}));
}

// Colour with printing on is the export dialog picture; here the other branches of each.
TEST_F(ExportTest, MenuAndScopeWithPrintingOffAndInMonochrome) {
  for (const bool colour : {true, false}) {
    const bool printing = !colour;
    SCOPED_TRACE(colour);
    t.console().displayMode = colour ? kColourDisplay : kMonochrome;
    t.program.printer[1] = printing;
    t.console().screen.ClearScreen();
    t.console().screen.PrintText("THE CARD UNDER THE DIALOG");
    const Page before = t.console().screen.PageAt(0);
    EXPECT_TRUE(Dialog(3, {"9", kEsc}));  // the digit 9 toggles the scope as [TAB] does; [ESC] cancels
    EXPECT_TRUE(t.console().screen.PageAt(0) == before);

    // Printing off: the first item is a gap, the bar starts on "2. Save as TEXT" and the digit
    // 1 is refused. [TAB] toggles the scope and leaves the bar where it was.
    const int bar = colour ? 0x3F : 0x70;
    t.terminal.ResetBeeps();
    EXPECT_FALSE(Dialog(3, {"1", kTab}));
    EXPECT_EQ(t.terminal.Text(5, 31, 10), printing ? " 1. Print " : std::string(10, ' '));
    EXPECT_EQ(t.terminal.Attribute(printing ? 5 : 6, 32), bar);
    EXPECT_EQ(t.terminal.Beeps(), printing ? 0 : 1);
    EXPECT_EQ(t.terminal.Attribute(11, 30), colour ? 0x1F : 0x07);
    EXPECT_EQ(t.terminal.Attribute(12, 30), bar);
  }
}

TEST_F(ExportTest, PrintsThisCardOrEveryCardWithData) {
  t.program.printer.deviceName = "LPT1:";
  t.program.printer[8] = 1;
  const std::string& printed = t.host.printers.printed;
  EXPECT_TRUE(Dialog(3, {kEnter, kEsc}));
  EXPECT_EQ(Count(printed, "WEEK ENDING ON"), 1u);
  EXPECT_NE(printed.find("CARD # 3 "), std::string::npos);
  t.host.printers.printed.clear();
  EXPECT_TRUE(Dialog(40, {kTab, kEnter, kEsc}));
  EXPECT_EQ(Count(printed, "WEEK ENDING ON"), 3u);
  EXPECT_LT(printed.find("CARD # 7 "), printed.find("CARD # 17 "));
  EXPECT_EQ(printed.find("CARD # 40 "), std::string::npos);

  // ID#s holding a zero byte on two cards: printing every card beeps once, as saving them does.
  std::string bytes = CardBytes("20121208");
  bytes[Record(3) + 24] = bytes[Record(17) + 24] = '\0';
  SaveCardFile(bytes, "20121208");
  t.terminal.ResetBeeps();
  EXPECT_TRUE(Dialog(3, {kTab, kEnter, kEsc}));
  EXPECT_EQ(t.terminal.Beeps(), 1);
}

// Lengths 25 and 27 round their halves to even; path and shell characters are the transmit's.
TEST(ExportFiles, CentringNamesAndTransmitNames) {
  for (const auto& [length, column] : {std::pair{25, 28}, {26, 27}, {27, 26}, {0, 40}, {200, 1}})
    EXPECT_EQ(CentredColumn(40, length), column) << length;
  const std::pair<std::string, std::string> names[] = {
      {"  MY STORE  ", "MY STORE20121215"},
      {"            ", "20121215"},
      {std::string(12, '\0'), "20121215"},
      {"$(rm -rf x)", "$(rm -rf x)20121215"},  // blanks inside stay, as the store ID has them
      {"Store\x82#1", "Store_#120121215"},
  };
  for (const auto& [storeId, name] : names) EXPECT_EQ(TransmitName(storeId, "20121215.CLK"), name) << storeId;
}

// TEXT and DATA in one visit. Shell and path characters make a file of that name in SEND, and
// run nothing; the DATA file's bytes are the export road's to compare.
TEST_F(ExportTest, TransmitsTextAndDataInOneVisitNamedAfterTheStoreId) {
  t.program.store.associates.storeId = "..\\;rm *:/";
  const std::string name = "____rm ___20121208";
  EXPECT_FALSE(Transmit({kEnter, "2", kEnter, "x", "3", kEnter}));
  // The help screen's preview lines, centred on column 31, and the line that says where it went.
  EXPECT_EQ(t.terminal.Text(17, 22, 36) + t.terminal.Text(18, 22, 36),
            "Text file --> " + name + ".TXT" + "Data file --> " + name + ".CSV");
  EXPECT_EQ(t.terminal.Text(25, 21, 38), " SAVED AS SEND\\" + name + ".CSV ");
  EXPECT_EQ(t.terminal.Attribute(25, 21), 0x4F);
  EXPECT_EQ(Listing(Send()), (Names{name + ".CSV", name + ".TXT"}));
  EXPECT_EQ(TestProgram::ReadFileBytes(Send() / (name + ".TXT")), Exported(true, ExportKind::kText));
  EXPECT_EQ(Listing(t.host.store), (Names{"SEND", "STORE"}));
  EXPECT_EQ(t.program.frame.cardNameInUse + t.program.frame.weekDates[0], "2012120812-02-2012");

  // Again: the file is replaced, and the line goes once a key is pressed, the menu on Cancel.
  std::string bytes = CardBytes("20121208");
  bytes.replace(PunchAt(3, 2, 1), 10, "09:0010:00");
  SaveCardFile(bytes, "20121208");
  t.program.store.associates.storeId = "..\\;rm *:/";  // the card file's header had put in blanks
  EXPECT_FALSE(Transmit({kEnter, "3", kEnter, "x"}));
  EXPECT_EQ(t.terminal.RowText(25), std::string(80, ' '));
  EXPECT_EQ(t.terminal.Attribute(20, 31), 0x3F);  // "1. Cancel" highlighted again
  EXPECT_NE(TestProgram::ReadFileBytes(Send() / (name + ".CSV")).find("TUESDAY,09:00,10:00,"),
            std::string::npos);

  // Cancelling anywhere writes nothing more.
  fs::remove_all(Send());
  for (const std::vector<KeyText>& keys : {std::vector<KeyText>{kEsc}, {kEnter, kEsc}, {kEnter, kEnter}}) {
    EXPECT_TRUE(Transmit(keys));
    EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  }
  EXPECT_EQ(Listing(t.host.store), Names{"STORE"});
}

TEST_F(ExportTest, TransmitFileThatCannotBeMadeIsNotReportedSavedAndLeavesNothing) {
  TestProgram::WriteFileBytes(Send(), "a file where the folder should be");
  t.console().displayMode = kMonochrome;
  EXPECT_FALSE(Transmit({kEnter, "3", kEnter}));
  EXPECT_EQ(TrimBlanks(t.terminal.RowText(25)), "SEND\\20121208.CSV NOT SAVED: NO SEND FOLDER");
  EXPECT_EQ(t.terminal.Attribute(25, 20), 0x70);
  fs::remove(Send());

  // The disk fills while the file is written: the child's files may grow to 1000 bytes only.
  const pid_t pid = fork();
  if (pid == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit cap{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &cap);
    Transmit({kEnter, "2", kEnter});
    _exit(TrimBlanks(t.terminal.RowText(25)) == "SEND\\20121208.TXT NOT SAVED: DISK FULL" ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_TRUE(Listing(Send()).empty());  // neither the file nor a piece of it
}

}  // namespace
}  // namespace shiftlog
