// The files of the card folder: the weeks listed, one deleted, and stale temporaries swept.
#include "store/card_files.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <regex>
#include <thread>
#include <tuple>

#include "store/lock_file.h"
#include "store/time_card_file.h"
#include "store/whole_file.h"
#include "store_fixture.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct CardFilesTest : ::testing::Test, testing::StoreFixture {
  CardFilesTest() { fs::create_directories(CardFolder()); }
  void Make(const std::string& name, std::chrono::seconds age = 0s) {
    WriteFileBytes(CardFolder() / name, "x");
    fs::last_write_time(CardFolder() / name, fs::file_time_type::clock::now() - age);
  }
};

TEST_F(CardFilesTest, ListsOnlyCardFilesUpperCasedInDateOrder) {
  fs::remove(CardFolder());
  EXPECT_TRUE(ListCardFiles(program.store).empty());      // no card folder yet
  fs::create_directories(CardFolder() / "20121229.CLK");  // a folder, not a file
  for (const char* name : {"20121215.clk", "20121208.CLK", "20121201.Clk", "20121208.clk", "OLD.CLK",
                           "2012121A.CLK", "1234567.CLK", "201212150.CLK", "_0121215.CLK", "TEMP.DAT"}) {
    Make(name);
  }
  EXPECT_EQ(ListCardFiles(program.store),
            (std::vector<std::string>{"20121201.CLK", "20121208.CLK", "20121215.CLK"}));
}

TEST_F(CardFilesTest, DeletionWaitsForTheStationHoldingTheLock) {
  Make("20121208.clk");
  LockFile station;
  ASSERT_TRUE(station.Take(CardLockPath("20121208")));
  auto deletion = std::async(std::launch::async, [&] { return DeleteCardFile(program.store, "20121208"); });
  std::this_thread::sleep_for(200ms);
  EXPECT_TRUE(fs::exists(CardFolder() / "20121208.clk"));  // while the station holds the lock
  station.Release();
  const Status deleted = deletion.get();
  EXPECT_TRUE(deleted.ok()) << deleted.error;
  EXPECT_FALSE(fs::exists(CardFolder() / "20121208.clk"));
  // Gone already, or not a card file's name: nothing happens, and no lock file stays.
  EXPECT_EQ(DeleteCardFile(program.store, "20121208").error, kFileNotFound);
  EXPECT_EQ(DeleteCardFile(program.store, "..\\SHOP1").error, kBadFileName);
  EXPECT_TRUE(StrayFiles().empty());
  EXPECT_EQ(program.store.dataPath, "C:\\DATA\\");
}

TEST_F(CardFilesTest, ALaterCreationSweepsTemporariesOfDeadOrLongStillStations) {
  const pid_t killed = fork();  // a station that died in the middle of writing a week file
  if (killed == 0) _exit(0);
  ASSERT_EQ(waitpid(killed, nullptr, 0), killed);
  const std::string dead = TemporaryNameEnding(killed), live = TemporaryNameEnding(getpid());
  const std::chrono::seconds old(kStaleTemporaryAgeSeconds + 60), recent(kStaleTemporaryAgeSeconds - 60);
  const std::tuple<std::string, std::chrono::seconds, bool> entries[] = {
      // name, time since it last changed, swept
      {"20121208.CLK" + dead, 0s, true},                // its station is gone
      {"20121130.CLK" + live, recent, false},           // being written
      {"20121124.CLK" + live, old, true},               // a process number in use again
      {"20121124.CLK.TILL-2.4242.new", recent, false},  // another machine's: only age tells
      {"20121117.CLK.TILL-2.4242.new", old, true},
      {"NOTES.new", old, false},  // not a temporary name
      {"20121103.CLK.TILL-2.12x.new", old, false},
      {"20121027.CLK", old, false},
  };
  for (const auto& [name, age, swept] : entries) Make(name, age);
  fs::create_directory(CardFolder() / ("20121020.CLK" + dead));  // a folder is nobody's temporary

  // The first card read of a new week creates its file, and sweeps.
  TimeCard card;
  std::string associate, id;
  ASSERT_TRUE(ReadTimeCard(program.store, card, associate, 1, "20121215", id));
  for (const auto& [name, age, swept] : entries) EXPECT_EQ(fs::exists(CardFolder() / name), !swept) << name;
  EXPECT_TRUE(fs::is_directory(CardFolder() / ("20121020.CLK" + dead)));
  // A read of an existing week creates nothing and sweeps nothing.
  Make("20121013.CLK" + dead);
  ASSERT_TRUE(ReadTimeCard(program.store, card, associate, 1, "20121215", id));
  EXPECT_TRUE(fs::exists(CardFolder() / ("20121013.CLK" + dead)));
  EXPECT_EQ(SweepStaleTemporaries(CardFolder()), 1);
  EXPECT_FALSE(fs::exists(CardFolder() / ("20121013.CLK" + dead)));
  // The temporary name is ".<machine>.<pid>.new", the machine's name without dots.
  EXPECT_TRUE(std::regex_match(TemporaryNameEnding(1234), std::regex(R"(\.[A-Za-z0-9-]+\.1234\.new)")))
      << TemporaryNameEnding(1234);
}

}  // namespace
}  // namespace shiftlog
