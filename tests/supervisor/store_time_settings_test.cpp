#include "supervisor/store_time_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/wait_key.h"
#include "punch/card_fixture.h"
#include "text/text_fields.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;

const KeyText kF1 = ExtendedKey(kKeyF1), kEsc = "\x1b";

// This week's card file (made with the week ending on Saturday) and a register data file on a
// shared data path; the settings in force are the card file's.
struct SettingsTest : testing::CardFixture {
  SettingsTest() {
    ShareDataPath();
    t.program.frame.cardNameInUse = "20121215";
    Reset("000000004711");
  }
  void Reset(const std::string& storeId) {
    auto& a = t.program.store.associates;
    a.storeId = storeId;
    a.timeDisplay = 0;
    a.weekEnd = 0;
    std::string bytes = NewCardFile();
    bytes.replace(1, 12, storeId);
    SaveCardFile(bytes);
    std::string registerBytes(463 * 80, '\0');
    registerBytes.replace(455 * 80 + 57, 12, storeId);
    testing::TestProgram::WriteFileBytes(dataFolder / "STORE.TIL", registerBytes);
  }
  // Bytes 0 to 13 of the card header and 56 to 70 of the settings record.
  std::string Header() const { return CardBytes().substr(0, 14); }
  std::string Settings() const {
    return testing::TestProgram::ReadFileBytes(dataFolder / "STORE.TIL").substr(455 * 80 + 56, 15);
  }
  // True when the screen returned to the menu, false when the script ran out first.
  bool Run(const std::vector<KeyText>& keys) {
    for (const KeyText& key : keys) t.terminal.Type(key);
    try {
      StoreTimeSettings(t.program);
      return true;
    } catch (const ScriptExhausted&) {
      return false;
    }
  }
};

std::string Flag(int value) {
  return std::string(1, static_cast<char>(value));
}

TEST_F(SettingsTest, EscapeSavesTheHeaderAndTheSettingsRecord) {
  const KeyText tab = "\t";
  struct Case {
    std::string storeId;  // on entry
    std::vector<KeyText> keys;
    std::string saved;
    int timeDisplay;
  };
  const Case cases[] = {
      {"000000004711", {kEsc}, "000000004711", 0},  // unchanged, and still written
      {std::string(12, ' '), {"a", "b", "c", kEsc}, "000000000ABC", 0},
      {std::string(12, ' '), {kEsc}, "000000000000", 0},
      {std::string(12, ' '), {" ", "7", ExtendedKey(kKeyF11)}, "000000000007", 0},
      {"1234567890AB", {tab, tab, kEsc}, "1234567890AB", 0},
      {"STORE 42    ", {tab, ExtendedKey(kKeyF9), kEsc}, "0000STORE 42", 1},
  };
  for (const Case& c : cases) {
    Reset(c.storeId);
    ASSERT_TRUE(Run(c.keys)) << c.storeId;
    const std::string display = Flag(c.timeDisplay);
    EXPECT_EQ(Header(), display + c.saved + Flag(0)) << c.storeId;
    EXPECT_EQ(Settings(), display + c.saved + Flag(0) + Flag(0)) << c.storeId;
    EXPECT_EQ(t.program.store.associates.storeId, c.saved);
  }
  EXPECT_EQ(SavedStoreId("  AB C  "), "00000000AB C");
  EXPECT_EQ(t.terminal.Beeps(), 0);
}

TEST_F(SettingsTest, AWeekEndChangeAsksToGoBackToTheRegister) {
  // Cancel: the screen again with Sunday shown, already saved; the card file keeps its week end.
  EXPECT_FALSE(Run({kF1, kEsc}));
  EXPECT_EQ(t.terminal.Text(20, 8, 65), "   You have changed the day the week ends. You will now exit this");
  EXPECT_EQ(t.terminal.Text(21, 8, 42), "program back to the Cash Register program.");
  EXPECT_EQ(t.terminal.Text(22, 35, 13) + t.terminal.Text(23, 35, 11), " 1. Continue  2. Cancel ");
  EXPECT_EQ(Settings().substr(14), Flag(1));
  EXPECT_EQ(Header().substr(13), Flag(0));

  Reset("000000004711");
  EXPECT_FALSE(Run({kF1, kEsc, "2", "\r"}));
  EXPECT_EQ(t.terminal.Text(12, 36, 8), " SUNDAY ");
  EXPECT_EQ(t.terminal.Text(4, 33, 15), "Enter store ID.");
  // Back to Saturday: the week end of the first entry, so no notice.
  Reset("000000004711");
  EXPECT_TRUE(Run({kF1, kEsc, "\t", ExtendedKey(kKeyDown), kEsc, kF1, kEsc}));
  EXPECT_EQ(Settings().substr(14), Flag(0));
  EXPECT_EQ(Header().substr(13), Flag(0));

  // Continue hands over to the cash-register program; when that cannot start, the notice stays.
  Reset("000000004711");
  t.host.registerCanStart = false;
  EXPECT_TRUE(Run({kF1, kEsc, "\r", "y", "2", "\r", kF1, kEsc}));
  EXPECT_EQ(t.host.registerStarts, 1);
  t.host.registerCanStart = true;
  t.terminal.Type(kF1);
  t.terminal.Type(kEsc);
  t.terminal.Type("\r");
  EXPECT_THROW(StoreTimeSettings(t.program), testing::CashRegisterStarted);
  EXPECT_EQ(testing::TestProgram::ReadFileBytes(t.host.store / "TILCONFG.DAT"), "\"STORE\"\r\n");
  EXPECT_EQ(Settings().substr(14), Flag(1));
  EXPECT_EQ(Header().substr(13), Flag(0));
}

TEST_F(SettingsTest, ScreenInColourAndMonochrome) {
  const std::string divider = "\xCC" + std::string(27, '\xCD') + "\xB9";
  for (const bool colour : {true, false}) {
    t.console().displayMode = colour ? kColourDisplay : kMonochrome;
    EXPECT_FALSE(Run({"\t", kF1, "x"}));
    EXPECT_EQ(t.terminal.Text(5, 34, 12), "X00000004711");
    EXPECT_EQ(t.terminal.Text(6, 26, 29) + t.terminal.Text(10, 26, 29) + t.terminal.Text(14, 26, 29),
              divider + divider + divider);
    EXPECT_EQ(t.terminal.Text(7, 34, 13) + t.terminal.Text(9, 33, 14), "Time display.[TAB] = Toggle");
    EXPECT_EQ(t.terminal.Text(11, 34, 15) + t.terminal.Text(13, 33, 13), "Week ends on...[F1] = Toggle");
    EXPECT_EQ(t.terminal.Text(15, 34, 12), "[ESC] = Done");
    EXPECT_EQ(t.terminal.Text(8, 33, 13) + t.terminal.Text(12, 36, 8), "DECIMAL TIME  SUNDAY ");
    EXPECT_EQ(t.terminal.Text(21, 8, 59), "HOURS:MINUTES or in DECIMAL TIME. For example if you choose");
    EXPECT_EQ(t.terminal.Text(23, 8, 11), "50 minutes.");
    EXPECT_EQ(t.terminal.Attribute(8, 33), colour ? 0x3F : 0x70);
    EXPECT_EQ(t.terminal.Attribute(5, 34), colour ? 0x3F : 0x70);
    EXPECT_EQ(t.terminal.Attribute(4, 33), colour ? 0x1F : 0x0F);
    EXPECT_EQ(t.terminal.Attribute(20, 8), colour ? 0x4F : 0x0F);
    EXPECT_EQ(t.terminal.Attribute(1, 1), colour ? 0x7F : 0x07);
    EXPECT_EQ(t.terminal.Character(10, 56), colour ? 219 : ' ');  // shadows on colour displays only
    Reset("000000004711");
  }
}

TEST_F(SettingsTest, AFileThatCannotBeWrittenIsReportedAndTheOtherStillIs) {
  fs::remove(CardFile());
  EXPECT_TRUE(Run({"\t", kEsc, "y"}));
  EXPECT_FALSE(fs::exists(CardFile()));
  EXPECT_EQ(Settings().substr(0, 1), Flag(1));
  fs::remove(dataFolder / "STORE.TIL");
  SaveCardFile(NewCardFile());
  EXPECT_TRUE(Run({kEsc, "y"}));
  EXPECT_FALSE(fs::exists(dataFolder / "STORE.TIL"));
  EXPECT_EQ(Header().substr(0, 13), Flag(1) + "000000004711");
  EXPECT_EQ(t.terminal.Beeps(), 2);
}

}  // namespace
}  // namespace shiftlog
