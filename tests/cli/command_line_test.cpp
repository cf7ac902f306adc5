#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "back_office_fixture.h"
#include "store/lock_file.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::TestProgram;

class CommandLineTest : public testing::BackOfficeTest {
 protected:
  // The built program, run without a shell; its output goes through files.
  CommandResult RunProgram(std::vector<std::string> arguments) {
    const char* build = std::getenv("SHIFTLOG_BUILD_DIR");
    if (build == nullptr) ADD_FAILURE() << "SHIFTLOG_BUILD_DIR is not set";
    arguments.insert(arguments.begin(), (fs::path(build ? build : ".") / "shiftlog").string());
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const fs::path out = top.path() / "stdout", err = top.path() / "stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    int status = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, TestProgram::ReadFileBytes(out),
            TestProgram::ReadFileBytes(err)};
  }
};

TEST_F(CommandLineTest, BadInputGetsOneLineNamingWhatIsWrongAndItsExitStatus) {
  WriteRegister();
  Punch(3, 3, 1, "08:00");
  const fs::path empty = top.path() / "empty", two = top.path() / "two";
  fs::create_directories(empty);
  fs::create_directories(two);
  TestProgram::WriteFileBytes(two / "SHOP1.TIL", "");
  TestProgram::WriteFileBytes(two / "shop2.til", "");
  const std::string s = store.string(), output = (top.path() / "no" / "such" / "x.json").string();
  const auto expectFailure = [&](const std::vector<std::string>& arguments, int status,
                                 const std::string& message) {
    SCOPED_TRACE(::testing::PrintToString(arguments));
    const CommandResult result = Run(arguments);
    EXPECT_EQ(result.status, status);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind(message, 0), 0u) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
  };
  // clang-format off
  const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
      {{""}, 2, "shiftlog: unknown command \"\""},
      {{"payroll"}, 2, "shiftlog: unknown command \"payroll\""},
      {{"--store", s}, 2, "shiftlog: --store: not an option of shiftlog itself"},
      {{"export", "--hours"}, 2, "shiftlog export: unknown option: --hours"},
      {{"status", "now"}, 2, "shiftlog status: unexpected argument: now"},
      {{"export", "--slot", "57"}, 2, "shiftlog export: --slot: Value 57 not in range 1 to 56"},
      {{"export", "--all", "--slot", "3"}, 2, "shiftlog export: --all excludes --slot"},
      {{"export", "--format", "xml"}, 2, "shiftlog export: --format: xml not in {csv,text,json}"},
      {{"export", "--week", "2013-02-29"}, 2, "shiftlog export: --week 2013-02-29: no such date"},
      {{"export", "--week", "20120631"}, 2, "shiftlog export: --week 20120631: no such date"},
      {{"export", "--week", "12-15-2012"}, 2, "shiftlog export: --week 12-15-2012: not a date"},
      {{"status", "--date", "20121215"}, 2, "shiftlog status: --date 20121215: not a date (YYYY-MM-DD)"},
      {{"status", "--date", "1999-12-31"}, 2,
       "shiftlog status: --date 1999-12-31: the time clock keeps weeks"},
      {{"status", "--store", s, "--config", "..\\X"}, 2,
       "shiftlog status: --config ..\\X: a configuration name"},
      {{"status", "--store", two.string()}, 2, "shiftlog status: several register data files in " +
       two.string() + " (SHOP1.TIL, shop2.til): name one"},
      {{"status", "--store", empty.string()}, 1,
       "shiftlog status: no register data file (*.TIL) in " + empty.string()},
      {{"status", "--store", s, "--config", "SHOP9"}, 1,
       "shiftlog status: no register data file SHOP9.TIL in " + s},
      {{"status", "--store", (top.path() / "nowhere").string()}, 1,
       "shiftlog status: cannot read the store folder"},
      {{"export", "--store", s, "--week", "2012-12-22"}, 1, "shiftlog export: no card file for the week "
       "ending 2012-12-22 (" + (fs::weakly_canonical(CardFolder()) / "20121222.CLK").string() + ")"},
      {{"export", "--store", s, "--output", output}, 1, "shiftlog export: cannot write " + output},
  };
  // clang-format on
  for (const auto& [arguments, status, message] : cases) expectFailure(arguments, status, message);

  // csv and text follow the station's printer settings: a printer record file that cannot be
  // read stops them, not json.
  fs::copy_file(store / "SHOP1.TIL", store / "SHOP2.TIL");
  fs::copy_file(shared / "STORE" / "SHOP1.TIL", shared / "STORE" / "SHOP2.TIL");
  fs::create_directories(store / "SHOP2.DAT");
  for (const char* format : {"csv", "text"}) {
    expectFailure({"export", "--store", s, "--config", "SHOP2", "--format", format}, 1,
                  "shiftlog export: cannot read the printer settings in " +
                      fs::weakly_canonical(store / "SHOP2.TIL").string() + " and " +
                      fs::weakly_canonical(store / "SHOP2.DAT").string() + ": ");
  }
  fs::remove(store / "SHOP2.TIL");

  // The drive of the data path has lost its link.
  fs::remove(store / "DRIVES" / "F");
  const CommandResult unmapped = Run({"status", "--store", s});
  EXPECT_EQ(unmapped.status, 1);
  EXPECT_NE(unmapped.err.find("F:\\STORE\\ of SHOP1.TIL is on a drive that is not ready"), std::string::npos)
      << unmapped.err;
}

TEST_F(CommandLineTest, TheConfigurationIsFoundBesideALockFileAndByName) {
  WriteRegister();
  Punch(3, 3, 1, "08:00");
  // The register holds its lock file while it updates SHOP1.TIL: it is no second configuration.
  TestProgram::WriteFileBytes(store / "_HOP1.TIL", std::string(kLockFileContent));
  EXPECT_EQ(Json({"status"})["clockedIn"].size(), 1u);
  fs::rename(store / "SHOP1.TIL", store / "shop1.til");
  TestProgram::WriteFileBytes(store / "OTHER.TIL", "");
  EXPECT_EQ(Json({"status", "--config", "SHOP1"})["clockedIn"].size(), 1u);
  EXPECT_EQ(Json({"status", "--config", "shop1.TIL"})["clockedIn"].size(), 1u);
}

TEST_F(CommandLineTest, TheBuiltProgramRunsCommandsAndItsHelp) {
  WriteRegister();
  Punch(3, 3, 1, "08:00");
  const CommandResult version = RunProgram({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("shiftlog ", 0), 0u);
  for (const char* command : {"export", "status"}) {
    const CommandResult help = RunProgram({command, "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find(std::string("Usage: shiftlog ") + command), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("--store DIR"), std::string::npos);
  }
  const CommandResult exported = RunProgram({"export", "--store", store.string(), "--week", "20121215"});
  EXPECT_EQ(exported.status, 0) << exported.err;
  EXPECT_NE(exported.out.find("\r\nWEDNESDAY,08:00,     ,"), std::string::npos)
      << exported.out;  // csv by default
  const CommandResult failed = RunProgram({"export", "--store", top.path().string()});
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.out, "");
}

}  // namespace
}  // namespace shiftlog
