#include "supervisor/store_time_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "console/wait_key.h"
#include "punch/card_fixture.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;
using testing::TestProgram;

// This week's card file (its week ending on Saturday) and a register data file on a shared
// data path, both holding the store ID in force.
struct SettingsTest : testing::CardFixture {
  SettingsTest() {
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
  fs::path RegisterFile() const { return dataFolder / "STORE.TIL"; }
  // Bytes 0 to 13 of the card header, and 56 to 70 of the settings record.
  std::string Header() const { return CardBytes().substr(0, 14); }
  std::string Settings() const {
    return TestProgram::ReadFileBytes(RegisterFile()).substr(455 * 80 + 56, 15);
  }
  // Keys as a script: ! is [F1], every other character its key. True when the screen went back
  // to the menu, false when the script ran out first.
  bool Run(const std::string& script) {
    for (const char c : script) t.terminal.Type(c == '!' ? ExtendedKey(kKeyF1) : KeyText(1, c));
    try {
      StoreTimeSettings(t.program);
      return true;
    } catch (const ScriptExhausted&) {
      return false;
    }
  }
};

TEST_F(SettingsTest, EscapeSavesTheHeaderAndTheSettingsRecord) {
  const std::string blank(12, ' ');
  const std::tuple<std::string, std::string, std::string, char> cases[] = {
      // store ID on entry, keys, store ID saved, time display saved
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

TEST_F(SettingsTest, AWeekEndChangeAsksToGoBackToTheRegister) {
  EXPECT_FALSE(Run("!\x1b"));
  EXPECT_EQ(t.terminal.Text(20, 8, 65) + t.terminal.Text(21, 8, 42),
            "   You have changed the day the week ends. You will now exit this"
            "program back to the Cash Register program.");
  EXPECT_EQ(t.terminal.Text(22, 35, 13) + t.terminal.Text(23, 35, 11), " 1. Continue  2. Cancel ");
  EXPECT_EQ(Settings()[14] * 10 + Header()[13], 10);  // saved; the card file keeps its week end
  // "2. Cancel": the screen again with Sunday; back to Saturday, the week end on entry, no notice.
  Reset("000000004711");
  EXPECT_FALSE(
      Run("!\x1b"
          "2\r"));
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

TEST_F(SettingsTest, ScreenInColourAndMonochrome) {
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
