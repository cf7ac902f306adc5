#include "cardfiles/card_file_chooser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "console/wait_key.h"
#include "support/test_program.h"
#include "text/text_fields.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;
using testing::TestProgram;

constexpr int kListTop = 3;  // screen row of the first list row

// Card file i (from 1) of a store holding count weeks: weekly names, oldest first.
std::string WeekName(int i) {
  const int month = 1 + (i - 1) / 4 % 12;
  const int year = 2000 + (i - 1) / 48;
  const int day = 1 + 7 * ((i - 1) % 4);
  return std::to_string(year * 10000 + month * 100 + day) + ".CLK";
}

struct ChooserTest : ::testing::Test {
  ChooserTest() {
    t.program.store.configName = "STORE";
    t.program.frame.thisWeekCard = "20121215";
    t.program.frame.dateText = "12-15-2012";
  }
  fs::path Folder() const { return t.host.store / "STORE"; }
  void Make(const std::string& name) {
    fs::create_directories(Folder());
    TestProgram::WriteFileBytes(Folder() / name, std::string(45600, ' '));
  }
  std::vector<std::string> MakeWeeks(int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) {
      names.push_back(WeekName(i));
      Make(names.back());
    }
    return names;
  }
  void Keys(std::initializer_list<int> scanCodes) {
    for (int code : scanCodes) t.terminal.TypeExtended(code);
  }
  // Runs the chooser until its keys run out; the last frame shows where it stood.
  void RunUntilScriptEnds(int mode) {
    std::string chosen = "unchanged";
    EXPECT_THROW(ChooseCardFile(t.program, chosen, mode), ScriptExhausted);
  }
  std::string Choose(int mode) {
    std::string chosen = "unchanged";
    ChooseCardFile(t.program, chosen, mode);
    return chosen;
  }
  // The 21 list rows show names[top..top+20] (blank past the end), the highlight on h (from 1).
  void ExpectList(const std::vector<std::string>& names, int top, int h, int colourHighlight = 0x5F,
                  int colourOther = 0x1F) const {
    for (int i = 1; i <= 21; ++i) {
      const size_t entry = static_cast<size_t>(top + i);
      const std::string shown = entry <= names.size() ? names[entry - 1] : "";
      EXPECT_EQ(t.terminal.Text(kListTop + i - 1, 62, 12), TextField(shown, 12)) << "list row " << i;
      EXPECT_EQ(t.terminal.Attribute(kListTop + i - 1, 62), top + i == h ? colourHighlight : colourOther)
          << "list row " << i;
    }
    EXPECT_EQ(
        t.terminal.Text(21, 13, 35),
        TextField(NumberText(static_cast<long long>(names.size())) + " Files stored. Maximum = 525", 35));
  }
  TestProgram t;
};

TEST_F(ChooserTest, ScrollingFollowsTheListArithmetic) {
  struct Case {
    int files;
    std::vector<int> keys;
    int top;
    int highlighted;
  };
  const Case cases[] = {
      {30, {}, 9, 30},  // the newest highlighted on the last row, entries 10 to 30
      {30, {kKeyHome}, 0, 1},
      {30, {kKeyHome, kKeyPageDown}, 21, 22},                // 22 to 30, then blank rows
      {30, {kKeyHome, kKeyPageDown, kKeyPageDown}, 29, 30},  // only the newest
      {30, {kKeyPageUp}, 0, 9},
      {30, {kKeyHome, kKeyUp, kKeyEnd, kKeyDown}, 9, 30},  // nothing past the ends
      {30, std::vector<int>(21, kKeyUp), 8, 9},            // the window follows the highlight up
      {30, {kKeyHome, kKeyDown, kKeyDown}, 0, 3},
      {42, {kKeyHome, kKeyPageDown, kKeyPageDown}, 41, 42},  // never a window of blanks only
      {3, {kKeyPageDown, kKeyPageUp, kKeyDown}, 0, 2},
      {0, {kKeyPageDown, kKeyPageUp, kKeyHome, kKeyEnd, kKeyUp}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.files << " files, " << c.keys.size() << " keys");
    fs::remove_all(Folder());
    const std::vector<std::string> names = MakeWeeks(c.files);
    for (int key : c.keys) t.terminal.TypeExtended(key);
    RunUntilScriptEnds(kViewCardFile);
    ExpectList(names, c.top, c.highlighted);
  }
}

TEST_F(ChooserTest, MoreThan525FilesKeepTheNewest525) {
  std::vector<std::string> names = MakeWeeks(560);
  Keys({kKeyHome});
  RunUntilScriptEnds(kViewCardFile);
  names.erase(names.begin(), names.begin() + 35);
  ExpectList(names, 0, 1);
  EXPECT_EQ(t.terminal.Text(21, 13, 32), " 525 Files stored. Maximum = 525");
}

TEST_F(ChooserTest, EnterChoosesByModeAndSetsTheDateText) {
  struct Case {
    int mode;
    int files;
    std::vector<int> keys;  // before [ENTER]
    std::string chosen;     // after [ENTER], else empty after the [ESC] that ends the refusal
    std::string dateText;
    int beeps;
  };
  const Case cases[] = {
      {kModifyCardFile, 5, {}, WeekName(5), "", 0},
      {kModifyCardFile, 5, {kKeyUp}, WeekName(4), "", 0},
      {kModifyCardFile, 5, {kKeyUp, kKeyUp}, "", "", 1},  // only the last two weeks
      {kViewCardFile, 5, {kKeyHome}, WeekName(1), "", 0},
      {kTransmitCardFile, 5, {kKeyHome}, WeekName(1), "", 0},
      {kDeleteCardFile, 5, {}, "", "", 0},  // [ENTER] does nothing
      {kModifyCardFile, 0, {}, "", "--", 0},
      {kViewCardFile, 0, {}, "", "--", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "mode " << c.mode << ", " << c.keys.size() << " keys");
    fs::remove_all(Folder());
    MakeWeeks(c.files);
    t.terminal.ResetBeeps();
    t.program.frame.dateText = "12-15-2012";
    for (int key : c.keys) t.terminal.TypeExtended(key);
    t.terminal.Type("\r");
    if (c.chosen.empty() && c.dateText.empty()) t.terminal.Type("\x1b");
    EXPECT_EQ(Choose(c.mode), c.chosen);
    const std::string date =
        c.chosen.empty() ? c.dateText
                         : c.chosen.substr(4, 2) + "-" + c.chosen.substr(6, 2) + "-" + c.chosen.substr(0, 4);
    EXPECT_EQ(t.program.frame.dateText, date);
    EXPECT_EQ(t.terminal.Beeps(), c.beeps);
    EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  }
  EXPECT_EQ(CardNameDateText("20121215.CLK"), "12-15-2012");
}

TEST_F(ChooserTest, DeletingTheSecondNewestOfFive) {
  std::vector<std::string> names = MakeWeeks(5);
  Keys({kKeyUp, kKeyDelete});
  RunUntilScriptEnds(kDeleteCardFile);
  EXPECT_EQ(t.terminal.Text(11, 15, 34), "PRESS [F1] TO CONFIRM DELETION OF ");
  EXPECT_EQ(t.terminal.Text(12, 26, 12), names[3]);
  EXPECT_EQ(t.terminal.Text(13, 16, 30), "PRESS [ESC] TO CANCEL DELETION");

  // [ESC] at the question only takes the question away; other keys wait for an answer.
  Keys({kKeyUp, kKeyDelete, kKeyDown});
  t.terminal.Type("\x1b");
  RunUntilScriptEnds(kDeleteCardFile);
  for (int row = 11; row <= 13; ++row) EXPECT_EQ(t.terminal.Text(row, 15, 33), std::string(33, ' '));
  EXPECT_TRUE(fs::exists(Folder() / names[3]));
  ExpectList(names, 0, 4);

  Keys({kKeyUp, kKeyDelete, kKeyF1});
  t.terminal.Type("\r");  // does nothing in delete mode
  t.terminal.Type("\x1b");
  EXPECT_EQ(Choose(kDeleteCardFile), "");
  EXPECT_FALSE(fs::exists(Folder() / names[3]));
  EXPECT_EQ(t.terminal.Beeps(), 0);
  names.erase(names.begin() + 3);
  ExpectList(names, 0, 4);  // the highlight on the newest, which followed
  for (int row = 11; row <= 13; ++row) EXPECT_EQ(t.terminal.Text(row, 15, 33), std::string(33, ' '));
  EXPECT_EQ(std::distance(fs::directory_iterator(Folder()), fs::directory_iterator()),
            4);  // no lock file left
}

TEST_F(ChooserTest, NeitherTheNewestNorThisWeeksFileIsDeletedAndStrayFilesAreNotListed) {
  // A station whose clock ran ahead made next week's file; copies and odd names lie about.
  for (const char* name :
       {"20121201.CLK", "20121208.CLK", "20121215.CLK", "20121222.CLK", "OLD.CLK", "2012X.CLK", "TEMP.DAT"}) {
    Make(name);
  }
  Keys({kKeyDelete, kKeyUp, kKeyDelete, kKeyUp, kKeyDelete, kKeyF1});
  RunUntilScriptEnds(kDeleteCardFile);
  EXPECT_EQ(t.terminal.Beeps(), 2);
  EXPECT_TRUE(fs::exists(Folder() / "20121215.CLK"));
  EXPECT_TRUE(fs::exists(Folder() / "20121222.CLK"));
  EXPECT_FALSE(fs::exists(Folder() / "20121208.CLK"));
  EXPECT_TRUE(fs::exists(Folder() / "OLD.CLK"));
  ExpectList({"20121201.CLK", "20121215.CLK", "20121222.CLK"}, 0, 2);

  fs::remove_all(Folder());  // no card folder at all: nothing to delete
  t.terminal.ResetBeeps();
  Keys({kKeyDelete});
  RunUntilScriptEnds(kDeleteCardFile);
  EXPECT_EQ(t.terminal.Beeps(), 1);
  ExpectList({}, 0, 0);
}

TEST_F(ChooserTest, AFileGoneBeforeItsDeletionLeavesTheListUnreported) {
  const std::vector<std::string> names = MakeWeeks(3);
  Keys({kKeyHome, kKeyDelete});
  t.terminal.Tick();  // while the question is up, another station deletes the file
  bool removed = false;
  t.terminal.onIdle = [&](int) { removed = fs::remove(Folder() / names[0]); };
  Keys({kKeyF1});
  RunUntilScriptEnds(kDeleteCardFile);
  EXPECT_TRUE(removed);
  EXPECT_EQ(t.terminal.Beeps(), 0);
  EXPECT_EQ(t.terminal.Text(6, 8, 30), "             DELETE TIME CARDS");  // no error report
  ExpectList({names[1], names[2]}, 0, 1);
}

TEST_F(ChooserTest, ScreensInColourAndMonochrome) {
  struct Case {
    int mode;
    std::string first;
    std::string prompt;
  };
  const Case cases[] = {
      {kModifyCardFile, "            MODIFY TIME PUNCHES", "Highlight desired file and press [ENTER]"},
      {kViewCardFile, "              VIEW TIME CARDS", "Highlight desired file and press [ENTER]"},
      {kTransmitCardFile, "             TRANSMIT CARDS", "Highlight desired file and press [ENTER]"},
      {kDeleteCardFile, "             DELETE TIME CARDS", "Highlight desired file and press [DELETE]"},
  };
  const std::vector<std::string> names = MakeWeeks(2);
  for (const Case& c : cases) {
    RunUntilScriptEnds(c.mode);
    EXPECT_EQ(t.terminal.Text(6, 8, static_cast<int>(c.first.size()) + 1), c.first + " ");
    EXPECT_EQ(t.terminal.Text(20, 10, static_cast<int>(c.prompt.size())), c.prompt);
  }
  EXPECT_EQ(t.terminal.Text(8, 8, 43), "  Choose time files to delete. You may not ");
  EXPECT_EQ(t.terminal.Text(9, 8, 35), "delete the current time card file. ");
  EXPECT_EQ(t.terminal.Text(2, 61, 10), "\xC9YYYYMMDD\xCD");
  EXPECT_EQ(t.terminal.Attribute(2, 62), 0x1F);
  EXPECT_EQ(t.terminal.Attribute(1, 1), 0x7F);   // grey behind the windows
  EXPECT_EQ(t.terminal.Background(10, 7), 1);    // inside the blue upper window
  EXPECT_EQ(t.terminal.Character(3, 76), 219);   // the list window's shadow
  EXPECT_EQ(t.terminal.Character(20, 55), 219);  // the lower window's shadow

  t.console().displayMode = kMonochrome;
  RunUntilScriptEnds(kViewCardFile);
  EXPECT_EQ(t.terminal.Text(6, 8, 29), "              VIEW TIME CARDS");
  EXPECT_EQ(t.terminal.Attribute(1, 1), 0x07);
  EXPECT_EQ(t.terminal.Character(3, 76), ' ');  // no shadows
  EXPECT_EQ(t.terminal.Character(20, 55), ' ');
  EXPECT_EQ(t.terminal.Attribute(6, 8), 0x0F);
  ExpectList(names, 0, 2, 0x70, 0x07);
}

}  // namespace
}  // namespace shiftlog
