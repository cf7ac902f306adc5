// Temporary files of week file creations that were cut off: a later creation in the card folder
// sweeps them, and never one that a live station is writing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <map>

#include "store/time_card_file.h"
#include "store/whole_file.h"
#include "store_fixture.h"

namespace shiftlog {
namespace {

using testing::StoreFixture;
namespace fs = std::filesystem;

// A process that is still running until the object goes.
struct LiveProcess {
  LiveProcess() {
    pid = fork();
    if (pid == 0) {
      pause();
      _exit(0);
    }
  }
  ~LiveProcess() {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  pid_t pid;
};

// A station that began writing a week file's temporary file and was killed in the middle.
pid_t KilledInTheMiddle(const fs::path& folder, const std::string& week) {
  int ready[2];
  if (pipe(ready) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    StoreFixture::WriteFileBytes(folder / (week + ".CLK" + TemporaryNameEnding(getpid())),
                                 std::string(20000, ' '));
    if (write(ready[1], "x", 1) != 1) _exit(1);
    pause();
    _exit(0);
  }
  char c;
  if (read(ready[0], &c, 1) != 1) return -1;
  close(ready[0]);
  close(ready[1]);
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return pid;
}

void MakeOld(const fs::path& path, int seconds) {
  timeval times[2];
  gettimeofday(&times[0], nullptr);
  times[0].tv_sec -= seconds;
  times[1] = times[0];
  ASSERT_EQ(utimes(path.c_str(), times), 0) << path;
}

TEST(StaleTemporaries, ALaterCreationSweepsThoseOfDeadOrLongStillStations) {
  StoreFixture s;
  fs::create_directories(s.CardFolder());
  LiveProcess live;
  const pid_t killed = KilledInTheMiddle(s.CardFolder(), "20121208");
  ASSERT_GT(killed, 0);
  const int old = kStaleTemporaryAgeSeconds + 60;
  const int recent = kStaleTemporaryAgeSeconds - 60;

  struct Entry {
    std::string name;
    int age;  // seconds since it last changed
    bool swept;
  };
  const std::vector<Entry> entries = {
      {"20121208.CLK" + TemporaryNameEnding(killed), 0, true},     // its station is gone
      {"20121201.CLK" + TemporaryNameEnding(live.pid), 0, false},  // being written right now
      {"20121201.CLK" + TemporaryNameEnding(getpid()), recent, false},
      {"20121124.CLK" + TemporaryNameEnding(live.pid), old, true},  // a process number in use again
      {"20121124.CLK.TILL-2.4242.new", recent, false},              // another machine's: only age tells
      {"20121117.CLK.TILL-2.4242.new", old, true},
      {"20121110.CLK.4243.new", old, true},  // no machine in the name
      {"20121110.CLK.4244.new", 0, false},
      {"NOTES.new", old, false},  // not a temporary name
      {"20121103.CLK.TILL-2.12x.new", old, false},
      {"20121027.CLK", old, false},
      {"_0121027.CLK", old, false},
  };
  for (const Entry& entry : entries) {
    const fs::path path = s.CardFolder() / entry.name;
    if (!fs::exists(path)) StoreFixture::WriteFileBytes(path, "partial");
    if (entry.age > 0) MakeOld(path, entry.age);
  }
  // A folder under a temporary's name is nobody's temporary file.
  fs::create_directory(s.CardFolder() / ("20121020.CLK" + TemporaryNameEnding(killed)));

  // The first card read of a new week creates its file, and sweeps.
  TimeCard card;
  std::string name, id;
  ASSERT_TRUE(ReadTimeCard(s.program.store, card, name, 1, "20121215", id));
  for (const Entry& entry : entries) {
    EXPECT_EQ(fs::exists(s.CardFolder() / entry.name), !entry.swept) << entry.name;
  }
  EXPECT_TRUE(fs::is_directory(s.CardFolder() / ("20121020.CLK" + TemporaryNameEnding(killed))));
  EXPECT_EQ(fs::file_size(s.CardPath()), 45600u);
  // A read of an existing week creates nothing and sweeps nothing.
  const fs::path late = s.CardFolder() / ("20121013.CLK" + TemporaryNameEnding(killed));
  StoreFixture::WriteFileBytes(late, "partial");
  ASSERT_TRUE(ReadTimeCard(s.program.store, card, name, 1, "20121215", id));
  EXPECT_TRUE(fs::exists(late));
  EXPECT_EQ(SweepStaleTemporaries(s.CardFolder()), 1);
  EXPECT_FALSE(fs::exists(late));
}

TEST(StaleTemporaries, TheNameTellsThisMachineAndTheProcess) {
  const std::string ending = TemporaryNameEnding(1234);
  ASSERT_GT(ending.size(), 10u);
  EXPECT_EQ(ending.front(), '.');
  EXPECT_EQ(ending.substr(ending.size() - 9), ".1234.new");
  const std::string machine = ending.substr(1, ending.size() - 10);
  EXPECT_FALSE(machine.empty());
  EXPECT_EQ(machine.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-"),
            std::string::npos)
      << machine;
}

}  // namespace
}  // namespace shiftlog
