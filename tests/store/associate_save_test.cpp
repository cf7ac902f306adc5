#include <gtest/gtest.h>

#include <thread>

#include "store/associate_records.h"
#include "store/lock_file.h"
#include "store_fixture.h"

namespace shiftlog {
namespace {

using testing::StoreFixture;
namespace fs = std::filesystem;

// A register data file of 470 records whose every byte tells its place, so any byte written
// where it should not be shows.
std::string RegisterBytes() {
  std::string bytes(470 * 80, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>('!' + (i * 7 + i / 80) % 90);
  return bytes;
}

std::string RecordOf(const std::string& bytes, int record) {
  return bytes.substr(static_cast<size_t>(record - 1) * 80, 80);
}

struct RegisterFixture : StoreFixture {
  RegisterFixture() {
    StoreFixture::WriteFileBytes(RegisterPath(), RegisterBytes());
    for (int slot = 1; slot <= kSlotCount; ++slot)
      program.store.associates.supervisor[slot] = slot % 5 == 0 ? 1 : 0;
    program.store.associates.supervisor[3] = 2;  // any non-zero flag is stored as 1
    program.store.associates.requireSupervisor = 1;
    program.store.associates.timeDisplay = 1;
    program.store.associates.weekEnd = 1;
    program.store.associates.storeId = "NEW STORE ID";
    program.store.associates.ids[8] = "LONGER THAN EIGHT";
    program.store.associates.ids[9] = "9";
  }
  fs::path RegisterPath() const { return DataFolder() / "SHOP1.TIL"; }
};

TEST(SaveSupervisorsAndIds, WritesFlagsAndIdsAndCarriesTheSettingsTailIntoTheIdRecords) {
  RegisterFixture s;
  const std::string before = RegisterBytes();
  ASSERT_TRUE(SaveSupervisorsAndIds(s.program.store));
  const std::string after = StoreFixture::ReadFileBytes(s.RegisterPath());
  ASSERT_EQ(after.size(), before.size());

  const std::string settings = RecordOf(after, 456);
  const std::string old = RecordOf(before, 456);
  for (int slot = 1; slot <= 56; ++slot) {
    EXPECT_EQ(settings[slot - 1], slot == 3 || slot % 5 == 0 ? 1 : 0) << slot;
  }
  EXPECT_EQ(settings[69], 1);
  EXPECT_EQ(settings.substr(56, 13), old.substr(56, 13));  // time display and store ID untouched
  EXPECT_EQ(settings.substr(70), old.substr(70));
  for (int i = 0; i < 7; ++i) {
    const std::string ids = RecordOf(after, 457 + i);
    for (int j = 0; j < 8; ++j) {
      EXPECT_EQ(ids.substr(static_cast<size_t>(8 * j), 8),
                StoreFixture::Pad(s.program.store.associates.ids[8 * i + j + 1], 8).substr(0, 8));
    }
    EXPECT_EQ(ids.substr(64), settings.substr(64)) << "record " << 457 + i;
  }
  EXPECT_EQ(RecordOf(after, 457).substr(56, 8), "LONGER T");
  EXPECT_EQ(RecordOf(after, 458).substr(0, 8), "9       ");
  // Nothing else of the cash-register program's file changes.
  EXPECT_EQ(after.substr(0, 455 * 80), before.substr(0, 455 * 80));
  EXPECT_EQ(after.substr(463 * 80), before.substr(463 * 80));
  EXPECT_FALSE(fs::exists(s.DataFolder() / "_HOP1.TIL"));
}

TEST(SaveStoreSettings, WritesTimeDisplayStoreIdAndWeekEndOnly) {
  RegisterFixture s;
  const std::string before = RegisterBytes();
  s.program.store.associates.storeId = "7";
  ASSERT_TRUE(SaveStoreSettings(s.program.store));
  const std::string after = StoreFixture::ReadFileBytes(s.RegisterPath());
  const std::string settings = RecordOf(after, 456);
  const std::string old = RecordOf(before, 456);
  EXPECT_EQ(settings.substr(0, 56), old.substr(0, 56));
  EXPECT_EQ(settings[56], 1);
  EXPECT_EQ(settings.substr(57, 12), "7           ");
  EXPECT_EQ(settings[69], old[69]);
  EXPECT_EQ(settings[70], 1);
  EXPECT_EQ(settings.substr(71), old.substr(71));
  EXPECT_EQ(after.substr(0, 455 * 80), before.substr(0, 455 * 80));
  EXPECT_EQ(after.substr(456 * 80), before.substr(456 * 80));
  s.program.store.associates.timeDisplay = 0;
  s.program.store.associates.weekEnd = 0;
  ASSERT_TRUE(SaveStoreSettings(s.program.store));
  const std::string again = RecordOf(StoreFixture::ReadFileBytes(s.RegisterPath()), 456);
  EXPECT_EQ(again[56], 0);
  EXPECT_EQ(again[70], 0);
}

TEST(SaveStoreSettings, WaitsForAnotherStationsLockAndNeverCreatesAMissingFile) {
  RegisterFixture s;
  LockFile other;
  ASSERT_TRUE(other.Take(s.DataFolder() / "_HOP1.TIL"));
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    other.Release();
  });
  ASSERT_TRUE(SaveStoreSettings(s.program.store));
  release.join();
  EXPECT_EQ(RecordOf(StoreFixture::ReadFileBytes(s.RegisterPath()), 456).substr(57, 12), "NEW STORE ID");
  EXPECT_FALSE(fs::exists(s.DataFolder() / "_HOP1.TIL"));

  fs::remove(s.RegisterPath());
  EXPECT_EQ(SaveSupervisorsAndIds(s.program.store).error, kFileNotFound);
  EXPECT_EQ(SaveStoreSettings(s.program.store).error, kFileNotFound);
  EXPECT_FALSE(fs::exists(s.RegisterPath()));
  EXPECT_FALSE(fs::exists(s.DataFolder() / "_HOP1.TIL"));
}

}  // namespace
}  // namespace shiftlog
