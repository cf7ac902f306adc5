#include "store/card_updates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "store_fixture.h"

namespace shiftlog {
namespace {

using testing::StoreFixture;
namespace fs = std::filesystem;

// A week's file whose every byte tells its place, so a byte written where it should not be shows.
std::string PatternedCardFile() {
  std::string bytes(57 * 800, ' ');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>('!' + (i * 7 + i / 800) % 90);
  return bytes;
}

// Where two files first differ (npos when they do not), so a failure names the byte.
size_t FirstDifference(const std::string& a, const std::string& b) {
  const auto [i, j] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  return i == a.end() && j == b.end() ? std::string::npos : static_cast<size_t>(i - a.begin());
}

size_t At(int slot, size_t offset) {
  return 800 * static_cast<size_t>(slot) + offset;
}

struct CardUpdatesTest : ::testing::Test {
  CardUpdatesTest() { fs::create_directories(s.CardFolder()); }
  StoreFixture s;
  TimeCard card;
  std::string id;
  std::function<Status()> Correct(int slot, int day, int punchSlot, const char* time, const char* corrector) {
    return [=, this] {
      return CorrectTimeCard(s.program.store, card, id, slot, "20121215", "ANN", day, punchSlot, time,
                             corrector);
    };
  }
};

TEST_F(CardUpdatesTest, EachUpdateWritesOnlyItsOwnBytesOfTheCardAsStored) {
  StoreContext& store = s.program.store;
  const std::string ann = "ANN" + std::string(21, ' ');
  std::vector<std::pair<size_t, std::string>> allNames;
  for (int slot = 1; slot <= 56; ++slot)
    allNames.push_back({At(slot, 0), store.associates.names[slot] + store.associates.ids[slot]});
  const std::pair<std::function<Status()>, std::vector<std::pair<size_t, std::string>>> cases[] = {
      {Correct(5, 2, 3, "08:30", "  7"),
       {{At(5, 0), ann}, {At(5, 312 + 5 * 18), "08:30"}, {At(5, 592 + 18), "\7"}}},
      {Correct(56, 6, 8, "     ", "     "),
       {{At(56, 0), ann}, {At(56, 312 + 5 * 55), "     "}, {At(56, 592 + 55), std::string(1, '\0')}}},
      {[&] { return StoreDayReason(store, card, id, 2, "20121215", "ANN", 6, "DOCTOR VISIT TOO LONG"); },
       {{At(2, 0), ann}, {At(2, 648 + 72), "DOCTOR VISIT"}}},
      {[&] { return StoreNamesAndIds(store, "20121215"); }, allNames},
      {[&] { return StoreCardHeaderSettings(store, "20121215", 1, "000000000ABC"); },
       {{0,
         "\1"
         "000000000ABC"}}},
  };
  for (const auto& [update, changed] : cases) {
    StoreFixture::WriteFileBytes(s.CardPath(), PatternedCardFile());
    ASSERT_TRUE(update());
    std::string expected = PatternedCardFile();
    for (const auto& [offset, bytes] : changed) expected.replace(offset, bytes.size(), bytes);
    EXPECT_EQ(FirstDifference(StoreFixture::ReadFileBytes(s.CardPath()), expected), std::string::npos);
    EXPECT_TRUE(s.StrayFiles().empty());
  }
  // The card comes back as the file holds it, and its header's settings come into force, but
  // not from the header write: the settings there are the screen's.
  EXPECT_EQ(card.Text(kPunchRow, 6, 8), PatternedCardFile().substr(At(2, 32 + 5 * 55), 5));
  EXPECT_EQ(store.associates.storeId, PatternedCardFile().substr(1, 12));
}

}  // namespace
}  // namespace shiftlog
