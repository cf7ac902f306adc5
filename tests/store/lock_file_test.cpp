#include "store/lock_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "store/data_files.h"
#include "store/time_card_file.h"
#include "store_fixture.h"

namespace shiftlog {
namespace {

using testing::StoreFixture;
using testing::TempFolder;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(LockFile, NameTakesCharactersTwoToEightAndTheExtension) {
  EXPECT_EQ(LockFileName("20121215", ".CLK"), "_0121215.CLK");
  EXPECT_EQ(LockFileName("SHOP1", ".TIL"), "_HOP1.TIL");
  EXPECT_EQ(LockFileName("ABCDEFGHIJK", ".TIL"), "_BCDEFGH.TIL");
  EXPECT_EQ(LockFileName("A", ".TIL"), "_.TIL");
}

TEST(LockFile, HoldsStopWhileTakenAndGoesWithTheObject) {
  TempFolder folder;
  const fs::path path = folder.path() / "_0121215.CLK";
  {
    LockFile lock;
    ASSERT_TRUE(lock.Take(path));
    EXPECT_EQ(StoreFixture::ReadFileBytes(path), "\"STOP\"\r\n");
  }
  EXPECT_FALSE(fs::exists(path));
  LockFile inMissingFolder;
  EXPECT_EQ(inMissingFolder.Take(folder.path() / "NOWHERE" / "_X.CLK").error, kPathNotFound);
}

TEST(LockFile, WaitsForAnotherHolderAndTakesTheLockWhenItGoes) {
  TempFolder folder;
  const fs::path path = folder.path() / "_HOP1.TIL";
  LockFile other;
  ASSERT_TRUE(other.Take(path));
  std::thread release([&] {
    std::this_thread::sleep_for(150ms);
    other.Release();
  });
  const auto start = std::chrono::steady_clock::now();
  LockFile mine;
  ASSERT_TRUE(mine.Take(path, 5000ms));
  const double waited = SecondsSince(start);
  release.join();
  EXPECT_GE(waited, 0.14);
  EXPECT_LT(waited, 1.0);
  EXPECT_TRUE(mine.Held());
  EXPECT_TRUE(fs::exists(path));  // the other's release did not take this lock with it
  mine.Release();
  EXPECT_FALSE(fs::exists(path));
}

TEST(LockFile, ALockThatOutlastsThePatienceIsTakenOverAndItsHolderLeavesTheNewOne) {
  TempFolder folder;
  const fs::path path = folder.path() / "_0121215.CLK";
  LockFile slow;
  ASSERT_TRUE(slow.Take(path));
  const auto start = std::chrono::steady_clock::now();
  LockFile mine;
  ASSERT_TRUE(mine.Take(path, 300ms));
  const double waited = SecondsSince(start);
  EXPECT_GE(waited, 0.29);
  EXPECT_LT(waited, 1.5);
  slow.Release();  // too late: the lock file is no longer the one it made
  EXPECT_TRUE(fs::exists(path));
  mine.Release();
  EXPECT_FALSE(fs::exists(path));
}

TEST(LockFile, ALockThatCannotBeRemovedIsReportedInsteadOfWaitedForEver) {
  TempFolder folder;
  const fs::path path = folder.path() / "_0121215.CLK";
  fs::create_directory(path);
  LockFile lock;
  EXPECT_EQ(lock.Take(path, 50ms).error, kPathFileAccessError);
  EXPECT_FALSE(lock.Held());
}

TEST(LockFile, ADanglingLinkInPlaceOfTheLockIsTakenOverNotRetriedForEver) {
  TempFolder folder;
  const fs::path path = folder.path() / "_0121215.CLK";
  fs::create_symlink(folder.path() / "GONE", path);
  LockFile lock;
  ASSERT_TRUE(lock.Take(path, 50ms));
  EXPECT_EQ(StoreFixture::ReadFileBytes(path), "\"STOP\"\r\n");
}

// Stations out of patience together: the one holding the flock on the dead station's lock file
// removes it; the others leave it to that one and then wait on the fresh lock file it makes.
TEST(LockFile, ALockFileAnotherStationIsTakingOverIsLeftToItAndItsNewLockWaitedOn) {
  TempFolder folder;
  const fs::path path = folder.path() / "_0121215.CLK";
  StoreFixture::WriteFileBytes(path, "\"STOP\"\r\n");  // left by a dead station
  const int claim = ::open(path.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(claim, LOCK_EX), 0);
  struct stat dead = {}, now = {};
  ASSERT_EQ(::fstat(claim, &dead), 0);

  LockFile mine;
  std::atomic<bool> taken{false};
  std::thread waiter([&] { taken = mine.Take(path, 400ms).ok(); });
  std::this_thread::sleep_for(900ms);  // well past the patience
  EXPECT_FALSE(taken);
  EXPECT_EQ(::lstat(path.c_str(), &now), 0);
  EXPECT_EQ(now.st_ino, dead.st_ino);

  // The other station removes it and takes the lock; its release lets the waiter in.
  ::unlink(path.c_str());
  LockFile other;
  ASSERT_TRUE(other.Take(path));
  ::close(claim);
  std::this_thread::sleep_for(100ms);  // well within a patience
  EXPECT_FALSE(taken);
  other.Release();
  waiter.join();
  EXPECT_TRUE(taken);
  EXPECT_TRUE(fs::exists(path));
  mine.Release();
  EXPECT_FALSE(fs::exists(path));

  // A holder's own release leaves its lock file alone too while another station has claimed it.
  ASSERT_TRUE(mine.Take(path));
  const int late = ::open(path.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(late, LOCK_EX), 0);
  mine.Release();
  EXPECT_TRUE(fs::exists(path));
  ::close(late);
}

// A station that died holding the lock costs the next one at most five seconds.
TEST(LockFile, StaleLockOfADeadStationIsTakenOverAfterFiveSeconds) {
  StoreFixture s;
  TimeCard card;
  std::string name, id;
  ASSERT_TRUE(ReadTimeCard(s.program.store, card, name, 2, "20121215", id));
  StoreFixture::WriteFileBytes(s.CardLockPath(), "\"STOP\"\r\n");
  card.Text(kPunchRow, 1, 1) = "07:00";
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(WriteTimeCard(s.program.store, card, name, 2, "20121215", id));
  const double waited = SecondsSince(start);
  EXPECT_GE(waited, 4.9);
  EXPECT_LT(waited, 7.0);
  EXPECT_FALSE(fs::exists(s.CardLockPath()));
  EXPECT_EQ(s.Record("20121215", 3).substr(32 + 40, 5), "07:00");
}

TEST(DataFiles, UpdateTakesTheLockOnlyWithADataPathAndReleasesItOnEveryWayOut) {
  StoreFixture s;
  const fs::path lockPath = s.DataFolder() / "_HOP1.TIL";
  StoreFixture::WriteFileBytes(s.DataFolder() / "SHOP1.TIL", std::string(800, 'x'));
  {
    DataFile file;
    ASSERT_TRUE(OpenDataFile(s.program.store, file, 80, FileMode::kUpdate, ".TIL", ""));
    EXPECT_EQ(file.lockPath, lockPath);
    EXPECT_TRUE(fs::exists(lockPath));
    EXPECT_EQ(OpenDataFile(s.program.store, file, 80, FileMode::kUpdate, ".TIL", "").error, kFileAlreadyOpen);
    ASSERT_TRUE(CloseDataFile(s.program.store, file));
    EXPECT_FALSE(fs::exists(lockPath));
    ASSERT_TRUE(OpenDataFile(s.program.store, file, 80, FileMode::kUpdate, ".TIL", ""));
  }  // left without CloseDataFile
  EXPECT_FALSE(fs::exists(lockPath));

  // A missing file is reported, not created, and its lock does not stay.
  DataFile missing;
  EXPECT_EQ(OpenDataFile(s.program.store, missing, 80, FileMode::kUpdate, ".TIL", "NOSHOP").error,
            kFileNotFound);
  EXPECT_FALSE(fs::exists(s.DataFolder() / "NOSHOP.TIL"));
  EXPECT_FALSE(fs::exists(s.DataFolder() / "_OSHOP.TIL"));
  EXPECT_EQ(OpenDataFile(s.program.store, missing, 80, FileMode::kRead, ".TIL", "NOSHOP").error,
            kFileNotFound);
  EXPECT_EQ(OpenDataFile(s.program.store, missing, 80, FileMode::kReadText, ".TXT", "NOSHOP").error,
            kFileNotFound);
  EXPECT_FALSE(fs::exists(s.DataFolder() / "NOSHOP.TIL"));

  s.program.store.dataPath = "";
  StoreFixture::WriteFileBytes(s.host.store / "SHOP1.TIL", std::string(800, 'x'));
  DataFile local;
  ASSERT_TRUE(OpenDataFile(s.program.store, local, 80, FileMode::kUpdate, ".TIL", ""));
  EXPECT_TRUE(local.lockPath.empty());
  EXPECT_FALSE(fs::exists(s.host.store / "_HOP1.TIL"));
  ASSERT_TRUE(local.records.Write(2, "changed"));
  ASSERT_TRUE(CloseDataFile(s.program.store, local));
  EXPECT_EQ(StoreFixture::ReadFileBytes(s.host.store / "SHOP1.TIL").substr(80, 8), "changed ");

  s.program.store.dataPath = "Q:\\DATA\\";  // a drive that is not there
  EXPECT_EQ(OpenDataFile(s.program.store, local, 80, FileMode::kUpdate, ".TIL", "").error, kDiskNotReady);
}

TEST(DataFiles, TextModesAndTheCardFolder) {
  StoreFixture s;
  {
    CardFolderScope folder(s.program.store);
    EXPECT_EQ(s.program.store.dataPath, "C:\\DATA\\SHOP1\\");
    fs::create_directories(s.CardFolder());
    DataFile out;
    ASSERT_TRUE(OpenDataFile(s.program.store, out, 0, FileMode::kCreateText, ".TMT", "REPORT"));
    out.text << "LINE\r\n";
    ASSERT_TRUE(CloseDataFile(s.program.store, out));
    EXPECT_TRUE(out.lockPath.empty());
    DataFile in;
    ASSERT_TRUE(OpenDataFile(s.program.store, in, 0, FileMode::kReadText, ".tmt", "report"));  // any case
    std::string line;
    std::getline(in.text, line);
    EXPECT_EQ(line, "LINE\r");
  }
  EXPECT_EQ(s.program.store.dataPath, "C:\\DATA\\");
  EXPECT_TRUE(s.StrayFiles().empty());
}

}  // namespace
}  // namespace shiftlog
