#include "store/card_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

#include "store/lock_file.h"
#include "store_fixture.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;

struct CardFilesTest : ::testing::Test, testing::StoreFixture {
  void Make(const std::string& name) {
    fs::create_directories(CardFolder());
    WriteFileBytes(CardFolder() / name, "x");
  }
};

TEST_F(CardFilesTest, ListsOnlyCardFilesUpperCasedInDateOrder) {
  EXPECT_TRUE(ListCardFiles(program.store).empty());  // no card folder yet
  for (const char* name : {"20121215.clk", "20121208.CLK", "20121201.Clk", "20121208.clk", "OLD.CLK",
                           "2012121A.CLK", "1234567.CLK", "201212150.CLK", "_0121215.CLK", "TEMP.DAT"}) {
    Make(name);
  }
  fs::create_directories(CardFolder() / "20121229.CLK");  // a folder, not a file
  EXPECT_EQ(ListCardFiles(program.store),
            (std::vector<std::string>{"20121201.CLK", "20121208.CLK", "20121215.CLK"}));
}

TEST_F(CardFilesTest, DeletionWaitsForTheStationHoldingTheLock) {
  Make("20121208.clk");
  std::promise<void> locked;
  bool took = false;
  bool presentWhileLocked = false;
  std::thread station([&] {
    LockFile lock;
    took = lock.Take(CardLockPath("20121208")).ok();
    locked.set_value();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    presentWhileLocked = fs::exists(CardFolder() / "20121208.clk");
  });
  locked.get_future().wait();
  const Status deleted = DeleteCardFile(program.store, "20121208");
  station.join();
  ASSERT_TRUE(took);
  EXPECT_TRUE(deleted.ok()) << deleted.error;
  EXPECT_TRUE(presentWhileLocked);
  EXPECT_FALSE(fs::exists(CardFolder() / "20121208.clk"));
  // Gone already, or not a card file's name: nothing happens, and no lock file stays.
  EXPECT_EQ(DeleteCardFile(program.store, "20121208").error, kFileNotFound);
  EXPECT_EQ(DeleteCardFile(program.store, "..\\SHOP1").error, kBadFileName);
  EXPECT_TRUE(StrayFiles().empty());
  EXPECT_EQ(program.store.dataPath, "C:\\DATA\\");
}

}  // namespace
}  // namespace shiftlog
