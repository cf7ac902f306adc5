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
using testing::StoreFixture;

struct CardFilesTest : ::testing::Test {
  void Make(const std::string& name) {
    fs::create_directories(s.CardFolder());
    StoreFixture::WriteFileBytes(s.CardFolder() / name, std::string(800, ' '));
  }
  StoreFixture s;
};

TEST_F(CardFilesTest, ListsOnlyCardFilesUpperCasedInDateOrder) {
  EXPECT_TRUE(ListCardFiles(s.program.store).empty());  // no card folder yet

  for (const char* name :
       {"20121215.clk", "20121208.CLK", "20121201.Clk", "20121208.clk", "OLD.CLK", "2012121A.CLK",
        "1234567.CLK", "201212150.CLK", "20121222.CLK.BAK", "_0121215.CLK", "TEMP.DAT", "99999999.TXT"}) {
    Make(name);
  }
  fs::create_directories(s.CardFolder() / "20121229.CLK");  // a folder, not a file
  const std::vector<std::string> expected = {"20121201.CLK", "20121208.CLK", "20121215.CLK"};
  EXPECT_EQ(ListCardFiles(s.program.store), expected);
}

TEST_F(CardFilesTest, DeletionWaitsForAStationHoldingTheLock) {
  Make("20121208.CLK");
  std::promise<void> locked;
  bool presentWhileLocked = false;
  bool took = false;
  std::thread station([&] {
    LockFile lock;
    took = lock.Take(s.CardLockPath("20121208")).ok();
    locked.set_value();
    if (!took) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    presentWhileLocked = fs::exists(s.CardPath("20121208"));
  });
  locked.get_future().wait();
  const Status deleted = DeleteCardFile(s.program.store, "20121208");
  station.join();
  ASSERT_TRUE(took);
  EXPECT_TRUE(deleted.ok()) << deleted.error;
  EXPECT_TRUE(presentWhileLocked);
  EXPECT_FALSE(fs::exists(s.CardPath("20121208")));
  EXPECT_TRUE(s.StrayFiles().empty());
  EXPECT_EQ(s.program.store.dataPath, "C:\\DATA\\");
}

TEST_F(CardFilesTest, AFileAlreadyGoneOrAStrangeNameFailsAndLeavesNoLock) {
  Make("20121208.clk");  // found whatever the case of its name
  EXPECT_TRUE(DeleteCardFile(s.program.store, "20121208").ok());
  EXPECT_FALSE(fs::exists(s.CardFolder() / "20121208.clk"));
  EXPECT_EQ(DeleteCardFile(s.program.store, "20121208").error, kFileNotFound);
  for (const char* name : {"", "..\\SHOP1", "OLD", "2012120", "201212080"}) {
    EXPECT_EQ(DeleteCardFile(s.program.store, name).error, kBadFileName) << name;
  }
  EXPECT_TRUE(s.StrayFiles().empty());
}

}  // namespace
}  // namespace shiftlog
