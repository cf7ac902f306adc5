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

struct ChooserTest : ::testing::Test {
  ChooserTest() {
    t.program.store.configName = "STORE";
    t.program.frame.thisWeekCard = "20121215";
  }
  fs::path Folder() const { return t.host.store / "STORE"; }
  std::vector<std::string> Make(std::vector<std::string> names) {
    fs::remove_all(Folder());
    fs::create_directories(Folder());
    for (const std::string& name : names) t.WriteFileBytes(Folder() / name, "x");
    return names;
  }
  // count card files, oldest first
  std::vector<std::string> MakeWeeks(int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) names.push_back(std::to_string(19990000 + i) + ".CLK");
    return Make(names);
  }
  void Keys(const std::vector<int>& scanCodes) {
    for (int code : scanCodes) t.terminal.TypeExtended(code);
  }
  void RunUntilScriptEnds(int mode) {
    std::string chosen;
    EXPECT_THROW(ChooseCardFile(t.program, chosen, mode), ScriptExhausted);
  }
  // The 21 list rows show listed[top..top+20], the highlight on entry h (from 1), and the count.
  void ExpectList(const std::vector<std::string>& listed, int top, int h, int highlight = 0x5F,
                  int other = 0x1F) const {
    for (int i = 1; i <= 21; ++i) {
      const size_t entry = static_cast<size_t>(top + i);
      EXPECT_EQ(t.terminal.Text(i + 2, 62, 12),
                TextField(entry <= listed.size() ? listed[entry - 1] : "", 12))
          << i;
      EXPECT_EQ(t.terminal.Attribute(i + 2, 62), top + i == h ? highlight : other) << "list row " << i;
    }
    EXPECT_EQ(
        t.terminal.Text(21, 13, 32),
        TextField(NumberText(static_cast<long long>(listed.size())) + " Files stored. Maximum = 525", 32));
  }
  testing::TestProgram t;
};

TEST_F(ChooserTest, ScrollingFollowsTheListArithmetic) {
  // files, keys, top of the window, entry highlighted
  const std::tuple<int, std::vector<int>, int, int> cases[] = {
      {30, {}, 9, 30},                         // the newest highlighted on the last row, entries 10 to 30
      {30, {kKeyHome, kKeyPageDown}, 21, 22},  // 22 to 30, then blank rows
      {30, {kKeyPageUp}, 0, 9},
      {30, {kKeyHome, kKeyUp, kKeyEnd, kKeyDown}, 9, 30},
      {30, std::vector<int>(21, kKeyUp), 8, 9},
      {42, {kKeyHome, kKeyPageDown, kKeyPageDown}, 41, 42},  // the newest alone, never blanks only
      {3, {kKeyPageDown, kKeyPageUp, kKeyDown}, 0, 2},
      {0, {kKeyPageDown, kKeyPageUp, kKeyHome, kKeyEnd, kKeyUp}, 0, 0},
      {560, {kKeyHome}, 0, 1},  // the newest 525 only
  };
  for (const auto& [files, keys, top, highlighted] : cases) {
    SCOPED_TRACE(::testing::Message() << files << " files, " << keys.size() << " keys");
    std::vector<std::string> names = MakeWeeks(files);
    if (names.size() > 525) names.erase(names.begin(), names.end() - 525);
    Keys(keys);
    RunUntilScriptEnds(kViewCardFile);
    ExpectList(names, top, highlighted);
  }
}

TEST_F(ChooserTest, EnterChoosesByModeAndSetsTheDateText) {
  // mode, files, keys before [ENTER] (a refused [ENTER] is followed by [ESC]), entry chosen
  // (0: nothing), beeps
  const std::tuple<int, int, std::vector<int>, int, int> cases[] = {
      {kModifyCardFile, 5, {}, 5, 0},
      {kModifyCardFile, 5, {kKeyUp, kKeyUp}, 0, 1},  // only the last two weeks
      {kDeleteCardFile, 5, {}, 0, 0},                // [ENTER] does nothing there
      {kModifyCardFile, 0, {}, 0, 0},                // an empty folder gives an empty name at once
  };
  for (const auto& [mode, files, keys, entry, beeps] : cases) {
    SCOPED_TRACE(::testing::Message() << "mode " << mode << ", " << keys.size() << " keys");
    const std::vector<std::string> names = MakeWeeks(files);
    t.terminal.ResetBeeps();
    Keys(keys);
    t.terminal.Type("\r");
    const bool refused = entry == 0 && files > 0;
    if (refused) t.terminal.Type("\x1b");
    std::string chosen = "unchanged";
    ChooseCardFile(t.program, chosen, mode);
    const std::string expected = entry == 0 ? "" : names[static_cast<size_t>(entry - 1)];
    EXPECT_EQ(chosen, expected);
    EXPECT_EQ(t.program.frame.dateText, refused ? "" : CardNameDateText(expected));
    EXPECT_EQ(t.terminal.Beeps(), beeps);
    EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  }
  EXPECT_EQ(CardNameDateText("") + CardNameDateText("20121215.CLK"), "--12-15-2012");
}

TEST_F(ChooserTest, DeletesOnlyOlderWeeksAfterF1) {
  // A station whose clock ran ahead made next week's file; a copy lies about as OLD.CLK.
  Make({"20121201.CLK", "20121208.CLK", "20121215.CLK", "20121222.CLK", "OLD.CLK"});
  // The newest and this week's file are refused; an older one asks for [F1].
  Keys({kKeyDelete, kKeyUp, kKeyDelete, kKeyUp, kKeyDelete, kKeyDown});
  RunUntilScriptEnds(kDeleteCardFile);
  EXPECT_EQ(t.terminal.Beeps(), 2);
  EXPECT_EQ(t.terminal.Text(6, 8, 31) + t.terminal.Text(20, 43, 8),
            "             DELETE TIME CARDS [DELETE]");
  EXPECT_EQ(t.terminal.Text(11, 15, 35) + t.terminal.Text(12, 26, 12),
            "PRESS [F1] TO CONFIRM DELETION OF  20121208.CLK");

  Keys({kKeyUp, kKeyUp, kKeyDelete});
  t.terminal.Type("\x1b");  // only takes the question away
  Keys({kKeyUp, kKeyDelete, kKeyF1});
  t.terminal.Type("\r");
  t.terminal.Type("\x1b");
  std::string chosen = "unchanged";
  ChooseCardFile(t.program, chosen, kDeleteCardFile);
  EXPECT_EQ(chosen, "");
  for (int row = 11; row <= 13; ++row) EXPECT_EQ(t.terminal.Text(row, 15, 33), std::string(33, ' '));
  // Four files left, and no lock file.
  EXPECT_EQ(std::distance(fs::directory_iterator(Folder()), fs::directory_iterator()), 4);
  EXPECT_FALSE(fs::exists(Folder() / "20121201.CLK"));
  ExpectList({"20121208.CLK", "20121215.CLK", "20121222.CLK"}, 0, 1);  // on the file that followed

  // Another station deletes the file while the question is up: the entry goes, unreported.
  Keys({kKeyHome, kKeyDelete});
  t.terminal.Tick();
  t.terminal.onIdle = [this](int) { fs::remove(Folder() / "20121208.CLK"); };
  Keys({kKeyF1});
  RunUntilScriptEnds(kDeleteCardFile);
  EXPECT_FALSE(fs::exists(Folder() / "20121208.CLK"));
  EXPECT_EQ(t.terminal.Beeps(), 2);
  ExpectList({"20121215.CLK", "20121222.CLK"}, 0, 1);
}

// In colour the view screen is docs/pictures/card_file_chooser.svg, which the picture check compares.
TEST_F(ChooserTest, MonochromeHasNoShadows) {
  t.console().displayMode = kMonochrome;
  const std::vector<std::string> names = MakeWeeks(2);
  RunUntilScriptEnds(kViewCardFile);
  EXPECT_EQ(t.terminal.Attribute(1, 1), 0x07);
  EXPECT_EQ(t.terminal.Text(3, 76, 1) + t.terminal.Text(20, 55, 1), "  ");
  ExpectList(names, 0, 2, 0x70, 0x07);
}

}  // namespace
}  // namespace shiftlog
