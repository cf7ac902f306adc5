#include "store/card_updates.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>

#include "store/associate_records.h"
#include "store/card_record.h"
#include "store/time_card_file.h"
#include "store_fixture.h"

namespace shiftlog {
namespace {

using testing::StoreFixture;
namespace fs = std::filesystem;

// A week's file whose every byte tells its place (flag bytes 0 and 13 aside), so a byte
// written where it should not be shows.
std::string PatternedCardFile() {
  std::string bytes(57 * 800, ' ');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>('!' + (i * 7 + i / 800) % 90);
  bytes[0] = 0;
  bytes[13] = 1;
  return bytes;
}

size_t At(int slot, size_t offset) {
  return 800 * static_cast<size_t>(slot) + offset;
}

struct CardUpdatesTest : ::testing::Test {
  CardUpdatesTest() {
    fs::create_directories(s.CardFolder());
    StoreFixture::WriteFileBytes(s.CardPath(), PatternedCardFile());
  }
  std::string Bytes() const { return StoreFixture::ReadFileBytes(s.CardPath()); }
  StoreFixture s;
  TimeCard card;
  std::string id;
};

TEST_F(CardUpdatesTest, EachUpdateWritesOnlyItsOwnBytes) {
  StoreContext& store = s.program.store;
  struct Case {
    const char* what;
    std::function<Status()> update;
    std::vector<std::pair<size_t, std::string>> changed;  // offset in the file, bytes now there
  };
  std::vector<std::pair<size_t, std::string>> allNames;
  for (int slot = 1; slot <= 56; ++slot) {
    allNames.push_back({At(slot, 0), store.associates.names[slot] + store.associates.ids[slot]});
  }
  const Case cases[] = {
      {"correction of day 2 slot 3 by slot 7",
       [&] { return CorrectTimeCard(store, card, id, 5, "20121215", "ANN", 2, 3, "08:30", "  7"); },
       {{At(5, 0), "ANN" + std::string(21, ' ')}, {At(5, 312 + 5 * 18), "08:30"}, {At(5, 592 + 18), "\x07"}}},
      {"erased correction of day 6 slot 8",
       [&] { return CorrectTimeCard(store, card, id, 56, "20121215", "ZED", 6, 8, "     ", "     "); },
       {{At(56, 0), "ZED" + std::string(21, ' ')},
        {At(56, 312 + 5 * 55), "     "},
        {At(56, 592 + 55), std::string(1, '\0')}}},
      {"reason of day 0",
       [&] { return StoreDayReason(store, card, id, 1, "20121215", "ANN", 0, "SICK"); },
       {{At(1, 0), "ANN" + std::string(21, ' ')}, {At(1, 648), "SICK        "}}},
      {"reason of day 6, cut to 12",
       [&] { return StoreDayReason(store, card, id, 2, "20121215", "BO", 6, "DOCTOR VISIT TOO LONG"); },
       {{At(2, 0), "BO" + std::string(22, ' ')}, {At(2, 648 + 72), "DOCTOR VISIT"}}},
      {"names and IDs of all slots", [&] { return StoreNamesAndIds(store, "20121215"); }, allNames},
      {"header time display and store ID",
       [&] { return StoreCardHeaderSettings(store, "20121215", 1, "000000000ABC"); },
       {{0,
         "\x01"
         "000000000ABC"}}},
  };
  for (const Case& c : cases) {
    StoreFixture::WriteFileBytes(s.CardPath(), PatternedCardFile());
    ASSERT_TRUE(c.update()) << c.what;
    std::string expected = PatternedCardFile();
    for (const auto& [offset, bytes] : c.changed) expected.replace(offset, bytes.size(), bytes);
    EXPECT_EQ(Bytes(), expected) << c.what;
    EXPECT_TRUE(s.StrayFiles().empty()) << c.what;
  }
}

TEST_F(CardUpdatesTest, ACorrectionKeepsWhatAnotherStationStoredSinceTheCardWasRead) {
  StoreContext& store = s.program.store;
  fs::remove(s.CardPath());
  std::string name;
  ASSERT_TRUE(ReadTimeCard(store, card, name, 4, "20121215", id));  // the screen's copy
  TimeCard other = card;
  ASSERT_TRUE(PunchTimeCard(store, other, name, 4, "20121215", id, 1, 1, "07:58"));  // at a register
  store.associates.weekEnd = 1;
  store.associates.storeId = "SOMETHING   ";
  ASSERT_TRUE(CorrectTimeCard(store, card, id, 4, "20121215", name, 1, 2, "16:00", "  9"));
  EXPECT_EQ(card.Text(kPunchRow, 1, 1), "07:58");  // the screen gets the card as stored
  EXPECT_EQ(card.Text(kCorrectionRow, 1, 2), "16:00");
  EXPECT_EQ(card.Text(kCorrectorRow, 1, 2), "   9");
  ASSERT_TRUE(StoreDayReason(store, card, id, 4, "20121215", name, 1, "LATE"));
  const std::string record = s.Record("20121215", 5);
  EXPECT_EQ(record.substr(32 + 5 * 8, 5), "07:58");
  EXPECT_EQ(record.substr(312 + 5 * 9, 5), "16:00");
  EXPECT_EQ(record.substr(648 + 12, 12), "LATE        ");
  EXPECT_EQ(id, "ID4     ");
  // Writing a card brings the file's settings into force, as every card write does.
  EXPECT_EQ(store.associates.weekEnd, 0);
  EXPECT_EQ(store.associates.storeId, "STORE 0042  ");
}

TEST_F(CardUpdatesTest, TheHeaderKeepsItsWeekEndAndTheSettingsInForceStay) {
  StoreContext& store = s.program.store;
  store.associates.weekEnd = 0;  // changed on the settings screen, not yet saved elsewhere
  ASSERT_TRUE(StoreCardHeaderSettings(store, "20121215", 0, "12"));
  const std::string header = s.Record("20121215", 1);
  EXPECT_EQ(header.substr(0, 14), std::string("\0"
                                              "12          \x01",
                                              14));
  EXPECT_EQ(store.associates.weekEnd, 0);
  EXPECT_EQ(store.associates.storeId, "STORE 0042  ");
}

TEST_F(CardUpdatesTest, AMissingOrReadOnlyFileIsReportedAndNothingIsWrittenOrMade) {
  StoreContext& store = s.program.store;
  const std::function<Status()> updates[] = {
      [&] { return CorrectTimeCard(store, card, id, 5, "20121215", "ANN", 2, 3, "08:30", "  7"); },
      [&] { return StoreDayReason(store, card, id, 5, "20121215", "ANN", 2, "X"); },
      [&] { return StoreNamesAndIds(store, "20121215"); },
      [&] { return StoreCardHeaderSettings(store, "20121215", 1, "1"); },
  };
  const bool superuser = geteuid() == 0;
  for (size_t i = 0; i < std::size(updates); ++i) {
    fs::remove_all(s.CardPath());
    EXPECT_EQ(updates[i]().error, kFileNotFound) << i;
    EXPECT_FALSE(fs::exists(s.CardPath())) << i;  // a deleted week does not come back empty
    fs::create_directory(s.CardPath());           // a name that cannot be opened as a file
    EXPECT_FALSE(updates[i]().ok()) << i;
    EXPECT_TRUE(fs::is_directory(s.CardPath())) << i;
    EXPECT_TRUE(s.StrayFiles().empty()) << i;
    fs::remove(s.CardPath());
    if (superuser) continue;  // permissions do not stop the superuser
    StoreFixture::WriteFileBytes(s.CardPath(), PatternedCardFile());
    fs::permissions(s.CardPath(), fs::perms::owner_read);
    EXPECT_EQ(updates[i]().error, kPermissionDenied) << i;
    EXPECT_EQ(Bytes(), PatternedCardFile()) << i;
    EXPECT_TRUE(s.StrayFiles().empty()) << i;
    fs::remove(s.CardPath());
  }
  // A corrector that is no byte, and fields off the card, are refused before the file is touched.
  StoreFixture::WriteFileBytes(s.CardPath(), PatternedCardFile());
  EXPECT_EQ(CorrectTimeCard(store, card, id, 5, "20121215", "", 0, 1, "08:00", " 256").error,
            kIllegalFunctionCall);
  EXPECT_EQ(CorrectTimeCard(store, card, id, 5, "20121215", "", 7, 1, "08:00", "  1").error,
            kSubscriptOutOfRange);
  EXPECT_EQ(StoreDayReason(store, card, id, 57, "20121215", "", 0, "").error, kBadRecordNumber);
  EXPECT_EQ(StoreNamesAndIds(store, "..").error, kBadFileName);
  EXPECT_EQ(Bytes(), PatternedCardFile());
}

TEST(SaveSupervisorsAndIds, TellsEachIdRecordAsItIsWritten) {
  StoreFixture s;
  StoreFixture::WriteFileBytes(s.DataFolder() / "SHOP1.TIL", std::string(463 * 80, '\0'));
  std::vector<int> written;
  ASSERT_TRUE(SaveSupervisorsAndIds(s.program.store, [&](int record) { written.push_back(record); }));
  EXPECT_EQ(written, (std::vector<int>{457, 458, 459, 460, 461, 462, 463}));
}

}  // namespace
}  // namespace shiftlog
