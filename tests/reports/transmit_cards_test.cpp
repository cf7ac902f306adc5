#include "reports/transmit_cards.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "console/wait_key.h"
#include "export_fixture.h"
#include "reports/export_files.h"
#include "reports/export_time_cards.h"
#include "text/text_fields.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;

const KeyText kEnter = "\r";
const KeyText kEsc = "\x1b";

struct TransmitTest : testing::ExportFixture {
  TransmitTest() { SaveCardFile(NewCardFile(), "20121201"); }
  // The chooser starts on the newest file, 20121208.
  bool Run(const std::vector<KeyText>& keys) {
    Type(keys);
    try {
      TransmitCards(t.program);
      return true;
    } catch (const ScriptExhausted&) {
      return false;
    }
  }
  fs::path Send() const { return t.host.store / "SEND"; }
  std::string Exported(ExportKind kind) {
    std::string bytes;
    EXPECT_TRUE(ExportTimeCards(t.program, true, kind, 0, bytes));
    return bytes;
  }
  std::string Row25() const { return t.terminal.RowText(25); }
};

TEST_F(TransmitTest, TextAndDataInOneVisitNamedAfterTheStoreId) {
  struct Case {
    std::string storeId;
    std::string name;  // the transmit name
  };
  const Case cases[] = {
      {"  MY STORE  ", "MY STORE20121208"},
      {"            ", "20121208"},
      // Shell and path characters make a file of that name in SEND, and run nothing.
      {"..\\;rm *:/", "____rm ___20121208"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(Send());
    t.program.store.associates.storeId = c.storeId;
    EXPECT_FALSE(Run({kEnter, "2", kEnter, "x", "3", kEnter}));
    // The help screen's preview lines, centred on column 31.
    const int column = CentredColumn(31, static_cast<int>(c.name.size()));
    EXPECT_EQ(t.terminal.Text(17, column, 18 + static_cast<int>(c.name.size())),
              "Text file --> " + c.name + ".TXT");
    EXPECT_EQ(t.terminal.Text(18, column, 18 + static_cast<int>(c.name.size())),
              "Data file --> " + c.name + ".CSV");
    const std::string saved = " SAVED AS SEND\\" + c.name + ".CSV ";
    const int at = CentredColumn(40, static_cast<int>(saved.size()));
    EXPECT_EQ(t.terminal.Text(25, at, static_cast<int>(saved.size())), saved);
    EXPECT_EQ(t.terminal.Attribute(25, at), 0x4F);
    EXPECT_EQ(Listing(Send()), (std::vector<std::string>{c.name + ".CSV", c.name + ".TXT"}));
    EXPECT_EQ(testing::TestProgram::ReadFileBytes(Send() / (c.name + ".TXT")), Exported(ExportKind::kText));
    EXPECT_EQ(testing::TestProgram::ReadFileBytes(Send() / (c.name + ".CSV")), Exported(ExportKind::kData));
  }
  EXPECT_EQ(Listing(t.host.store), (std::vector<std::string>{"SEND", "STORE"}));
  EXPECT_EQ(t.program.frame.cardNameInUse + t.program.frame.weekDates[0], "2012120812-02-2012");

  // Again: the file is replaced, and the line goes once a key is pressed, the menu on Cancel.
  std::string bytes = CardBytes("20121208");
  bytes.replace(PunchAt(3, 2, 1), 10, "09:0010:00");
  SaveCardFile(bytes, "20121208");
  t.program.store.associates.storeId = cases[2].storeId;  // the card file's header had put in blanks
  EXPECT_FALSE(Run({kEnter, "3", kEnter, "x"}));
  EXPECT_EQ(Row25(), std::string(80, ' '));
  EXPECT_EQ(t.terminal.Attribute(20, 31), 0x3F);  // "1. Cancel" highlighted again
  EXPECT_NE(
      testing::TestProgram::ReadFileBytes(Send() / "____rm ___20121208.CSV").find("TUESDAY,09:00,10:00,"),
      std::string::npos);
}

TEST_F(TransmitTest, CancelWritesNothing) {
  for (const std::vector<KeyText>& keys :
       {std::vector<KeyText>{kEsc}, {kEnter, kEsc}, {kEnter, kEnter}, {kEnter, "3", "1", kEnter}}) {
    EXPECT_TRUE(Run(keys));
    EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  }
  EXPECT_EQ(Listing(t.host.store), std::vector<std::string>{"STORE"});
}

TEST_F(TransmitTest, AFileThatCannotBeMadeIsNotReportedSavedAndLeavesNothing) {
  testing::TestProgram::WriteFileBytes(Send(), "a file where the folder should be");
  t.console().displayMode = kMonochrome;
  EXPECT_FALSE(Run({kEnter, "3", kEnter}));
  EXPECT_EQ(TrimBlanks(Row25()), "SEND\\20121208.CSV NOT SAVED: NO SEND FOLDER");
  EXPECT_EQ(t.terminal.Attribute(25, 20), 0x70);
  fs::remove(Send());

  // The disk fills while the file is written: the child's files may grow to 1000 bytes only.
  const pid_t pid = fork();
  if (pid == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit cap{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &cap);
    Run({kEnter, "2", kEnter});
    _exit(TrimBlanks(Row25()) == "SEND\\20121208.TXT NOT SAVED: DISK FULL" ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_TRUE(fs::is_directory(Send()));
  EXPECT_TRUE(Listing(Send()).empty());  // neither the file nor a piece of it
}

}  // namespace
}  // namespace shiftlog
