#include "host/real_host.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/test_program.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::TestProgram;

void WriteScript(const fs::path& path, const std::string& body) {
  TestProgram::WriteFileBytes(path, "#!/bin/sh\n" + body);
  fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
}

// Sets PATH for one test and puts the old one back.
class PathSetting {
 public:
  explicit PathSetting(const std::string& value) {
    if (const char* old = std::getenv("PATH")) old_ = old;
    ::setenv("PATH", value.c_str(), 1);
  }
  ~PathSetting() { ::setenv("PATH", old_.c_str(), 1); }

 private:
  std::string old_;
};

TEST(RealHost, DriveCIsTheRootAndOtherLettersComeFromTheDrivesFolder) {
  TempFolder top;
  const fs::path store = top.path() / "store";
  fs::create_directories(store / "drives");
  fs::create_directories(top.path() / "server");
  fs::create_directory_symlink(top.path() / "server", store / "drives" / "f");
  fs::create_directory_symlink(top.path() / "gone", store / "drives" / "G");
  fs::create_directories(store / "drives" / "H");
  TestProgram::WriteFileBytes(store / "drives" / "K", "not a folder");
  RealHost host(store);

  EXPECT_EQ(*host.DriveFolder('C'), fs::path("/"));
  ASSERT_TRUE(host.DriveFolder('F'));
  EXPECT_TRUE(fs::equivalent(*host.DriveFolder('F'), top.path() / "server"));
  EXPECT_FALSE(host.DriveFolder('G'));  // the link leads nowhere
  EXPECT_TRUE(host.DriveFolder('H'));
  EXPECT_FALSE(host.DriveFolder('K'));
  EXPECT_FALSE(host.DriveFolder('E'));  // not set up
  EXPECT_FALSE(host.DriveFolder('Q'));  // beyond P:
  EXPECT_EQ(host.CurrentFolder(), store);
}

TEST(RealHost, TheCashRegisterIsAnExecutableTilInTheStoreFolderElseOnPath) {
  TempFolder top;
  const fs::path store = top.path() / "store";
  const fs::path bin = top.path() / "bin";
  fs::create_directories(store);
  fs::create_directories(bin);
  RealHost host(store);
  PathSetting path(":" + bin.string() + ":/nonexistent");

  EXPECT_FALSE(host.FindCashRegister());
  fs::create_directories(store / "TIL");  // a folder is not a program
  TestProgram::WriteFileBytes(store / "til.exe", "not executable");
  EXPECT_FALSE(host.FindCashRegister());

  WriteScript(bin / "til", "exit 0\n");
  EXPECT_EQ(*host.FindCashRegister(), bin / "til");

  WriteScript(store / "Til.Exe", "exit 0\n");
  fs::remove(store / "til.exe");
  EXPECT_EQ(*host.FindCashRegister(), store / "Til.Exe");
}

TEST(RealHost, StartingTheCashRegisterReplacesTheProcessAfterRestoringTheTerminal) {
  TempFolder top;
  const fs::path store = top.path() / "store";
  fs::create_directories(store);
  WriteScript(store / "TIL", "echo started > STARTED\n");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::chdir(store.c_str()) != 0) ::_exit(3);
    RealHost host(store);
    host.beforeStart = [&store] { TestProgram::WriteFileBytes(store / "RESTORED", "yes"); };
    host.StartCashRegister();
    ::_exit(4);  // only reached when the start failed
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(TestProgram::ReadFileBytes(store / "STARTED"), "started\n");
  EXPECT_TRUE(fs::exists(store / "RESTORED"));
}

TEST(RealHost, WithoutACashRegisterNothingIsRestoredAndTheCallReturns) {
  TempFolder top;
  RealHost host(top.path());
  PathSetting path("/nonexistent");
  bool restored = false;
  host.beforeStart = [&restored] { restored = true; };
  host.StartCashRegister();
  EXPECT_FALSE(restored);
}

}  // namespace
}  // namespace shiftlog
