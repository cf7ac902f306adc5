#include "frame/hand_over.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "frame/program_end.h"
#include "support/test_program.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;
using testing::CashRegisterStarted;
using testing::TestProgram;

TEST(FirstItemOf, QuotedUnquotedAndBrokenLines) {
  EXPECT_EQ(FirstItemOf("\"SHOP1\"\r\n"), "SHOP1");
  EXPECT_EQ(FirstItemOf(""), "");
  EXPECT_EQ(FirstItemOf("\r\n"), "");
  EXPECT_EQ(FirstItemOf("\"A, B\"\r\n"), "A, B");        // a quoted comma belongs to the name
  EXPECT_EQ(FirstItemOf("SHOP1,OTHER\r\n"), "SHOP1");    // unquoted: up to the comma
  EXPECT_EQ(FirstItemOf("  SHOP 1  \r\nX"), "SHOP 1");   // surrounding blanks go, inner ones stay
  EXPECT_EQ(FirstItemOf("SHOP1"), "SHOP1");              // no line end at all
  EXPECT_EQ(FirstItemOf("\"SHOP1\r\nNEXT\""), "SHOP1");  // a quote left open ends with the line
  EXPECT_EQ(FirstItemOf("\"SHOP1\"EXTRA"), "SHOP1");
  EXPECT_EQ(FirstItemOf("SHOP1\x1a"), "SHOP1");  // the DOS end-of-file mark
  EXPECT_EQ(FirstItemOf("\"\"\r\n"), "");
}

TEST(FirstItemOf, RandomTextsNeverGiveALineBreakOrAnUnquotedComma) {
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::string text(random() % 64, '\0');
    for (char& c : text)
      c = static_cast<char>("\"\r\n, A\x1a\t"[random() % 8] ^ (random() % 4 == 0 ? random() : 0));
    const std::string item = FirstItemOf(text);
    ASSERT_LE(item.size(), text.size());
    ASSERT_EQ(item.find_first_of("\r\n\x1a"), std::string::npos) << text;
    if (item.find('"') == std::string::npos && !text.empty() && text.find('"') == std::string::npos) {
      ASSERT_EQ(item.find(','), std::string::npos) << text;
    }
  }
}

class ReturnToRegisterTest : public ::testing::Test {
 protected:
  fs::path HandOverPath() const { return t.host.store / "TILCONFG.DAT"; }
  TestProgram t;
};

TEST_F(ReturnToRegisterTest, WritesTheNameInQuotesReplacingAnyOldFile) {
  TestProgram::WriteFileBytes(HandOverPath(), "\"OLD STUFF THAT IS LONGER\"\r\n");
  t.program.store.configName = "SHOP1";
  EXPECT_THROW(ReturnToRegister(t.program), CashRegisterStarted);
  EXPECT_EQ(TestProgram::ReadFileBytes(HandOverPath()), "\"SHOP1\"\r\n");
  // Written whole: nothing but the file itself is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(t.host.store), fs::directory_iterator()), 1);
}

TEST_F(ReturnToRegisterTest, NoRegisterProgramReportsFileNotFoundAndGoingOnReturnsToTheScreen) {
  t.host.registerCanStart = false;
  t.program.store.configName = "SHOP1";
  t.console().screen.Locate(5, 5);
  t.console().screen.PrintText("PUNCH SCREEN");
  t.terminal.Type("q");  // refused
  t.terminal.Type("y");
  ReturnToRegister(t.program);
  EXPECT_EQ(t.terminal.Beeps(), 2);  // the report's own beep and the refused key
  EXPECT_NE(t.terminal.Dump().find("Run-time error 53:  File not found"), std::string::npos)
      << t.terminal.Dump();
  EXPECT_NE(t.terminal.Dump().find("[Y] = Yes   [N] = No"), std::string::npos);
  // The hand-over file stays written for the next start; the screen comes back as it was.
  EXPECT_EQ(TestProgram::ReadFileBytes(HandOverPath()), "\"SHOP1\"\r\n");
  t.console().Present();
  EXPECT_EQ(t.terminal.Text(5, 5, 12), "PUNCH SCREEN");
  EXPECT_EQ(t.terminal.Dump().find("Run-time error"), std::string::npos);
}

TEST_F(ReturnToRegisterTest, DecliningInTheReportEndsTheProgram) {
  t.host.registerCanStart = false;
  for (const char* answer : {"n", "N", "\x1b"}) {
    t.terminal.Type(answer);
    try {
      ReturnToRegister(t.program);
      ADD_FAILURE() << "the program went on after " << answer;
    } catch (const ProgramEnd& end) {
      EXPECT_EQ(end.exitStatus, kExitRunTimeError);
    }
  }
}

TEST_F(ReturnToRegisterTest, AHandOverThatCannotBeWrittenIsReportedAndTheRegisterStartsAnyway) {
  t.program.store.configName = "SHOP1";
  fs::remove_all(t.host.store);  // the store's folder has gone away
  t.terminal.Type("y");
  EXPECT_THROW(ReturnToRegister(t.program), CashRegisterStarted);
  EXPECT_NE(t.terminal.Dump().find("Run-time error 53"), std::string::npos) << t.terminal.Dump();
}

TEST_F(ReturnToRegisterTest, TheReportOnAMonochromeDisplay) {
  t.console().displayMode = kMonochrome;
  t.host.registerCanStart = false;
  t.terminal.Type("\x1b");
  EXPECT_THROW(ReturnToRegister(t.program), ProgramEnd);
  // The last frame shown is the report itself.
  const std::string dump = t.terminal.Dump();
  const size_t at = dump.find("Run-time error");
  ASSERT_NE(at, std::string::npos);
  const int row = static_cast<int>(at / 81) + 1;
  const int column = static_cast<int>(at % 81) + 1;
  EXPECT_EQ(t.terminal.Attribute(row, column), 0x0F);
  EXPECT_EQ(t.terminal.Background(row - 1, column), 0);
  EXPECT_EQ(t.terminal.Character(row - 2, column - 3), 201);
}

}  // namespace
}  // namespace shiftlog
