#include "supervisor/supervisor_tools.h"

#include <gtest/gtest.h>

#include <string>

#include "console/wait_key.h"
#include "punch/card_fixture.h"
#include "supervisor/store_time_settings.h"
#include "supervisor/supervisor_menu.h"

namespace shiftlog {
namespace {

using testing::TestProgram;

// This week's card file (its week ending on Saturday) and a register data file on a shared
// data path, both holding the store ID in force.
struct SupervisorToolsTest : testing::CardFixture {
  SupervisorToolsTest() {
    ShareDataPath();
    t.program.frame.cardNameInUse = "20121215";
    Reset("000000004711");
  }
  void Reset(const std::string& storeId) {
    auto& a = t.program.store.associates;
    a.storeId = storeId;
    a.timeDisplay = a.weekEnd = 0;
    SaveCardFile(NewCardFile().replace(1, 12, storeId));
    TestProgram::WriteFileBytes(RegisterFile(),
                                std::string(463 * 80, '\0').replace(455 * 80 + 57, 12, storeId));
  }
  std::filesystem::path RegisterFile() const { return dataFolder / "STORE.TIL"; }
  // Bytes 0 to 13 of the card header, and 56 to 70 of the settings record.
  std::string Header() const { return CardBytes().substr(0, 14); }
  std::string Settings() const {
    return TestProgram::ReadFileBytes(RegisterFile()).substr(455 * 80 + 56, 15);
  }
  // Keys as a script: ^ _ ! ~ are [UP] [DOWN] [F1] [F11], every other character its key.
  void Type(const std::string& script) {
    for (const char c : script) {
      const size_t at = std::string("^_!~").find(c);
      const int keys[] = {kKeyUp, kKeyDown, kKeyF1, kKeyF11};
      t.terminal.Type(at == std::string::npos ? KeyText(1, c) : ExtendedKey(keys[at]));
    }
  }
  // Runs the settings screen after the script: true when it went back to the menu, false when
  // the script ran out first.
  bool Run(const std::string& script) {
    Type(script);
    try {
      StoreTimeSettings(t.program);
      return true;
    } catch (const ScriptExhausted&) {
      return false;
    }
  }
};

TEST_F(SupervisorToolsTest, MenuKeysChooseAnItemAndEscapeQuits) {
  // In the last, [TAB], the digit 9 and [F1] only wait again.
  const std::pair<std::string, int> cases[] = {
      {"\r", 1}, {"\x1b", 7}, {"~", 7}, {"__\r", 3}, {"^\r", 7}, {"6\x1b", 7}, {"2\t9!\r", 2},
  };
  for (const auto& [script, choice] : cases) {
    Type(script);
    EXPECT_EQ(SupervisorMenu(t.program), choice) << script;
    EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  }
}

// The menu's texts are those of docs/pictures/supervisor_menu.svg, which the picture check compares.
TEST_F(SupervisorToolsTest, MenuBarNotesAndShadowsInColourAndMonochrome) {
  for (const bool colour : {true, false}) {
    t.console().displayMode = colour ? kColourDisplay : kMonochrome;
    Type("_");
    EXPECT_THROW(SupervisorMenu(t.program), ScriptExhausted);
    for (int i = 0; i < 7; ++i) {
      EXPECT_EQ(t.terminal.Attribute(5 + 2 * i, 30),
                i == 1 ? (colour ? 0x3F : 0x70) : (colour ? 0x1F : 0x07));
    }
    EXPECT_EQ(t.terminal.Attribute(21, 12), colour ? 0x4F : 0x0F);
    EXPECT_EQ(t.terminal.Attribute(1, 40), colour ? 0x7F : 0x07);
    EXPECT_EQ(t.terminal.Character(10, 58), colour ? 219 : ' ');  // shadows on colour displays only
    EXPECT_EQ(t.terminal.Character(22, 77), colour ? 219 : ' ');
  }
}

TEST_F(SupervisorToolsTest, EveryChoiceComesBackToTheMenu) {
  SaveCardFile(NewCardFile(), "20121208");
  t.program.frame.cardNameInUse = "20121208";
  t.program.frame.dateText = "12-08-2012";
  Type("4\r\x1b");     // no card file to transmit
  Type("3\r\x1b");     // the associate editor
  Type("6\r\x1b");     // the settings
  Type("5\r\x1b");     // the deletion left: the week in use comes back
  Type("1\r\x1b");     // no card file: no associate asked for
  Type("1\r^\r\x1b");  // a week, but no associate: the week stays unused
  Type("\x1b");
  RunSupervisorTools(t.program);
  EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  EXPECT_EQ(t.program.frame.cardNameInUse, "20121208");
  EXPECT_EQ(t.terminal.Text(3, 34, 15), "Supervisor menu");

  Type("\r__\r");  // this week, then slot 3
  EXPECT_EQ(ChooseCardToCorrect(t.program), 3);
  EXPECT_EQ(t.program.frame.cardNameInUse, "20121215");
  Type("1\r\r__\r07\x1b");  // this week's card of slot 3 corrected
  Type("2\r^\r\x1b\x1b");   // viewed last week: it stays in use
  RunSupervisorTools(t.program);
  EXPECT_EQ(t.program.frame.cardNameInUse + t.program.frame.dateText, "2012120812-08-2012");
  EXPECT_EQ(CardBytes().substr(CorrectionAt(3, 0, 1), 5), "07:00");
  EXPECT_EQ(t.terminal.Beeps(), 0);
}

TEST_F(SupervisorToolsTest, SettingsEscapeSavesTheHeaderAndTheSettingsRecord) {
  // store ID on entry, keys, store ID saved, time display saved
  const std::string blank(12, ' ');
  const std::tuple<std::string, std::string, std::string, char> cases[] = {
      {"000000004711", "\x1b", "000000004711", 0},  // unchanged, and still written
      {blank, "abc\x1b", "000000000ABC", 0},         {blank, "\x1b", "000000000000", 0},
      {blank, " 7\x1b", "000000000007", 0},          {"1234567890AB", "\t\t\x1b", "1234567890AB", 0},
      {"STORE 42    ", "\t\x1b", "0000STORE 42", 1},
  };
  for (const auto& [storeId, script, saved, timeDisplay] : cases) {
    Reset(storeId);
    ASSERT_TRUE(Run(script)) << script;
    EXPECT_EQ(Header(), timeDisplay + saved + '\0') << script;
    EXPECT_EQ(Settings(), timeDisplay + saved + '\0' + '\0') << script;
  }
  EXPECT_EQ(t.terminal.Beeps(), 0);
}

TEST_F(SupervisorToolsTest, SettingsWeekEndChangeAsksToGoBackToTheRegister) {
  EXPECT_FALSE(Run("!\x1b"));
  EXPECT_EQ(t.terminal.Text(20, 8, 65) + t.terminal.Text(21, 8, 42),
            "   You have changed the day the week ends. You will now exit this"
            "program back to the Cash Register program.");
  EXPECT_EQ(t.terminal.Text(22, 35, 13) + t.terminal.Text(23, 35, 11), " 1. Continue  2. Cancel ");
  EXPECT_EQ(Settings()[14] * 10 + Header()[13], 10);  // saved; the card file keeps its week end
  // "2. Cancel": the screen again with Sunday; back to Saturday, the week end on entry, no notice.
  Reset("000000004711");
  Type("!\x1b");
  EXPECT_FALSE(Run("2\r"));
  EXPECT_EQ(t.terminal.Text(12, 36, 8), " SUNDAY ");
  Reset("000000004711");
  EXPECT_TRUE(Run("!\x1b\t\x1b!\x1b"));  // [TAB] leaves the notice up, [ESC] cancels
  EXPECT_EQ(Settings()[14] * 10 + Header()[13], 0);
  // "1. Continue" hands over to the cash-register program; when it cannot start, the notice stays.
  t.host.registerCanStart = false;
  EXPECT_TRUE(Run("!\x1b\ry2\r!\x1b"));
  EXPECT_EQ(t.host.registerStarts, 1);
  t.host.registerCanStart = true;
  EXPECT_THROW(Run("!\x1b\r"), testing::CashRegisterStarted);
  EXPECT_EQ(TestProgram::ReadFileBytes(t.host.store / "TILCONFG.DAT"), "\"STORE\"\r\n");
  EXPECT_EQ(Settings()[14] * 10 + Header()[13], 10);
}

TEST_F(SupervisorToolsTest, SettingsScreenInColourAndMonochrome) {
  const std::string divider = "\xCC" + std::string(27, '\xCD') + "\xB9";
  for (const bool colour : {true, false}) {
    t.console().displayMode = colour ? kColourDisplay : kMonochrome;
    Reset("000000004711");
    EXPECT_FALSE(Run("\t!x"));
    EXPECT_EQ(t.terminal.Text(4, 33, 15) + t.terminal.Text(5, 34, 12), "Enter store ID.X00000004711");
    EXPECT_EQ(t.terminal.Text(10, 26, 29) + t.terminal.Text(11, 34, 15), divider + "Week ends on...");
    EXPECT_EQ(t.terminal.Text(8, 33, 13) + t.terminal.Text(12, 36, 8), "DECIMAL TIME  SUNDAY ");
    EXPECT_EQ(t.terminal.Text(23, 8, 11), "50 minutes.");
    EXPECT_EQ(t.terminal.Attribute(8, 33) * 0x100 + t.terminal.Attribute(4, 33), colour ? 0x3F1F : 0x700F);
    EXPECT_EQ(t.terminal.Attribute(20, 8), colour ? 0x4F : 0x0F);
    EXPECT_EQ(t.terminal.Character(10, 56), colour ? 219 : ' ');  // shadows on colour displays only
  }
}

}  // namespace
}  // namespace shiftlog
