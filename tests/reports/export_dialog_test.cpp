#include "reports/export_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "console/wait_key.h"
#include "export_fixture.h"
#include "reports/export_files.h"
#include "reports/export_time_cards.h"
#include "store/time_card_file.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;

const KeyText kEnter = "\r";
const KeyText kEsc = "\x1b";
const KeyText kTab = "\t";

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

struct ExportDialogTest : testing::ExportFixture {
  ExportDialogTest() { t.program.printer[1] = 1; }
  // The dialog over card slot as the viewer shows it, until [ESC] or the keys run out.
  bool Run(int slot) {
    std::string name, id;
    EXPECT_TRUE(ReadTimeCard(t.program.store, t.program.card, name, slot, "20121208", id));
    try {
      ExportDialog(t.program, t.program.card, name, t.program.frame.weekDates, id, "20121208", slot);
      return true;
    } catch (const ScriptExhausted&) {
      return false;
    }
  }
  std::string Exported(bool all, ExportKind kind, int slot) {
    std::string bytes;
    EXPECT_TRUE(ExportTimeCards(t.program, all, kind, slot, bytes));
    return bytes;
  }
};

TEST_F(ExportDialogTest, ExportTimeCardsReadsEachCardAfreshAndLeavesTheCallersCardAlone) {
  t.program.card.Text(kPunchRow, 0, 1) = "11:11";
  const std::string all = Exported(true, ExportKind::kData, 0);
  // Card 3 and card 17 with times, card 7 with a name alone; blank cards are left out.
  EXPECT_EQ(Count(all, "CARD #,"), 3u);
  EXPECT_LT(all.find("CARD #, 3 "), all.find("CARD #, 7 "));
  EXPECT_LT(all.find("CARD #, 7 "), all.find("CARD #, 17 "));
  EXPECT_NE(all.find("ASSOCIATE: ,00000007,CAROL CHIEF"), std::string::npos);
  // A single card is written even when blank, and in full.
  const std::string blank = Exported(false, ExportKind::kText, 40);
  EXPECT_EQ(Count(blank, "\r\n"), 63u);
  EXPECT_NE(blank.find("CARD # 40 "), std::string::npos);
  EXPECT_EQ(t.program.card.Text(kPunchRow, 0, 1), "11:11");
  // The header of the card file read is the store's settings in force afterwards.
  std::string bytes = CardBytes("20121208");
  bytes.replace(1, 12, "FROM FILE   ");
  bytes[0] = 1;
  SaveCardFile(bytes, "20121208");
  const std::string decimal = Exported(false, ExportKind::kData, 3);
  EXPECT_NE(decimal.find("STORE ID = ,FROM FILE   \r\n"), std::string::npos);
  EXPECT_NE(decimal.find("MONDAY,08.00,13.75,"), std::string::npos);
  EXPECT_EQ(t.program.store.associates.timeDisplay, 1);
}

TEST_F(ExportDialogTest, SavesUnderTheProposedOrTypedNameOnTheChosenDrive) {
  const fs::path driveF = t.folder.path() / "f";
  fs::create_directories(driveF);
  t.host.drives['F'] = driveF;
  t.host.drives['G'] = t.folder.path() / "gone";
  struct Case {
    int slot;
    std::vector<KeyText> keys;  // from the menu on "1. Print"
    fs::path file;              // relative to the store's folder
    std::string message;
    int beeps;
    bool all;
  };
  const std::string down = ExtendedKey(kKeyDown);
  const Case cases[] = {
      {7, {"2", kEnter, kEnter}, "STORE/12120807.TMT", "SAVED AS STORE\\12120807.TMT", 0, false},
      {12, {"3", kEnter, kEnter}, "STORE/12120812.TMD", "SAVED AS STORE\\12120812.TMD", 0, false},
      {3, {kTab, "3", kEnter, kEnter}, "STORE/121208AL.TMD", "SAVED AS STORE\\121208AL.TMD", 0, true},
      // Characters a file name may not hold are refused with the beep; the others overwrite.
      {3,
       {"2", kEnter, "a", "\\", "/", ":", ".", " ", "*", "b", kEnter},
       "STORE/AB120803.TMT",
       "SAVED AS STORE\\AB120803.TMT",
       6,
       false},
      // Another drive: keys outside A to P change nothing; the file goes to that drive's top.
      {3,
       {"3", kEnter, kTab, "Q", "1", down, "f", kEnter},
       "../f/12120803.TMD",
       "SAVED AS F:12120803.TMD",
       0,
       false},
      // A drive that is not ready keeps the edited name for another try.
      {3,
       {"3", kEnter, "X", kTab, "g", kEnter, "x", kTab, "F", kEnter},
       "../f/X2120803.TMD",
       "SAVED AS F:X2120803.TMD",
       1,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    t.terminal.ResetBeeps();
    Type(c.keys);
    EXPECT_FALSE(Run(c.slot));
    const int length = static_cast<int>(c.message.size());
    EXPECT_EQ(t.terminal.Text(15, CentredColumn(40, length), length), c.message);
    EXPECT_EQ(t.terminal.Attribute(15, CentredColumn(40, length)), 0x4F);
    EXPECT_EQ(t.terminal.Beeps(), c.beeps);
    const ExportKind kind = c.file.extension() == ".TMT" ? ExportKind::kText : ExportKind::kData;
    EXPECT_EQ(testing::TestProgram::ReadFileBytes(t.host.store / c.file), Exported(c.all, kind, c.slot));
  }
  EXPECT_EQ(Listing(driveF), (std::vector<std::string>{"12120803.TMD", "X2120803.TMD"}));  // no TEST.DAT

  // The other drive's message while it is shown, and the name kept after it.
  Type({"3", kEnter, kTab, "G", kEnter});
  EXPECT_FALSE(Run(5));
  EXPECT_EQ(t.terminal.Text(21, 31, 18), "DRIVE G: NOT READY");
  EXPECT_EQ(t.terminal.Text(20, 33, 14), "G:12120805.TMD");
  Type({"3", kEnter, kTab, "G", kEnter, "x", kEsc, kEsc});
  EXPECT_TRUE(Run(5));
  EXPECT_FALSE(fs::exists(CardFolder() / "12120805.TMD"));
}

TEST_F(ExportDialogTest, AFileThatCannotBeWrittenIsNotReportedSavedAndLeavesNothing) {
  fs::create_directories(CardFolder() / "12120803.TMT");  // a folder holds the name
  Type({"2", kEnter, kEnter});
  EXPECT_FALSE(Run(3));
  EXPECT_EQ(t.terminal.Text(15, 1, 80).find("SAVED AS"), std::string::npos);
  EXPECT_NE(t.terminal.Text(15, 1, 80).find("12120803.TMT NOT SAVED: "), std::string::npos);
  EXPECT_EQ(Listing(CardFolder()), (std::vector<std::string>{"12120803.TMT", "20121208.CLK"}));
  EXPECT_TRUE(Listing(CardFolder() / "12120803.TMT").empty());
}

TEST_F(ExportDialogTest, MenuScopeAndScreenInColourAndMonochrome) {
  for (const bool colour : {true, false}) {
    for (const int printing : {1, 0}) {
      SCOPED_TRACE(std::to_string(colour) + " " + std::to_string(printing));
      t.console().displayMode = colour ? kColourDisplay : kMonochrome;
      t.program.printer[1] = printing;
      t.console().screen.ClearScreen();
      t.console().screen.PrintText("THE CARD UNDER THE DIALOG");
      const Page before = t.console().screen.PageAt(0);
      Type({"9", kEsc});  // the digit 9 toggles the scope as [TAB] does; [ESC] cancels
      EXPECT_TRUE(Run(3));
      EXPECT_TRUE(t.console().screen.PageAt(0) == before);

      const int bar = colour ? 0x3F : 0x70;
      const int base = colour ? 0x1F : 0x07;
      t.terminal.ResetBeeps();
      Type({"1", kTab});
      EXPECT_FALSE(Run(3));
      // Printing off: the first item is a gap, the bar starts on "2. Save as TEXT" and the digit
      // 1 is refused. [TAB] toggles the scope and leaves the bar where it was.
      EXPECT_EQ(t.terminal.Text(5, 31, 10), printing ? " 1. Print " : std::string(10, ' '));
      EXPECT_EQ(t.terminal.Attribute(printing ? 5 : 6, 32), bar);
      EXPECT_EQ(t.terminal.Beeps(), printing ? 0 : 1);
      EXPECT_EQ(t.terminal.Text(10, 36, 9) + t.terminal.Text(13, 33, 14), "EXPORT...[TAB] = Toggle");
      EXPECT_EQ(t.terminal.Text(11, 30, 15) + t.terminal.Text(12, 30, 20),
                "This card only.All cards with data.");
      EXPECT_EQ(t.terminal.Attribute(11, 30), base);
      EXPECT_EQ(t.terminal.Attribute(12, 30), bar);
      EXPECT_EQ(t.terminal.Text(1, 10, 16), "UNDER THE DIALOG");  // the card stays beside the dialog
    }
  }
}

TEST_F(ExportDialogTest, PrintsThisCardOrEveryCardWithData) {
  t.program.printer.deviceName = "LPT1:";
  t.program.printer[8] = 1;
  Type({kEnter, kEsc});
  EXPECT_TRUE(Run(3));
  EXPECT_EQ(Count(t.host.printers.printed, "WEEK ENDING ON"), 1u);
  EXPECT_NE(t.host.printers.printed.find("CARD # 3 "), std::string::npos);
  t.host.printers.printed.clear();
  Type({kTab, kEnter, kEsc});
  EXPECT_TRUE(Run(40));
  EXPECT_EQ(Count(t.host.printers.printed, "WEEK ENDING ON"), 3u);
  EXPECT_LT(t.host.printers.printed.find("CARD # 7 "), t.host.printers.printed.find("CARD # 17 "));
  EXPECT_EQ(t.host.printers.printed.find("CARD # 40 "), std::string::npos);
}

TEST(ExportFiles, CentringNamesAndTransmitNames) {
  const std::pair<int, int> centred[] = {{25, 28}, {26, 27}, {27, 26}, {23, 28}, {0, 40}, {200, 1}};
  for (const auto& [length, column] : centred) EXPECT_EQ(CentredColumn(40, length), column) << length;
  EXPECT_EQ(CentredColumn(31, 20), 21);
  const std::pair<std::string, std::string> names[] = {
      {"  MY STORE  ", "MY STORE20121215"},   {"            ", "20121215"},
      {std::string(12, '\0'), "20121215"},    {"..\\A;B:/*", "___A_B___20121215"},
      {"$(rm -rf x)", "$(rm -rf x)20121215"},  // blanks inside stay, as the store ID has them
      {"Store\x82#1", "Store_#120121215"},
  };
  for (const auto& [storeId, name] : names) EXPECT_EQ(TransmitName(storeId, "20121215.CLK"), name) << storeId;
}

}  // namespace
}  // namespace shiftlog
