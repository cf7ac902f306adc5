// Updates of a week's card file, each made on the card as stored.
#include "store/card_updates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "store/punch_slots.h"
#include "store/time_card_file.h"
#include "store_fixture.h"

namespace shiftlog {
namespace {

using testing::StoreFixture;

// A day written as 8 characters, one per slot: '-' blanks, '0' zero bytes, '.' no text (as the
// punch screen keeps an empty slot), a digit a punch. The other days are full, so only it decides.
TimeCard DayOf(const std::string& slots, int day) {
  TimeCard card;
  for (int slot = 1; slot <= 8; ++slot) {
    const char c = slots[static_cast<size_t>(slot - 1)];
    std::string& text = card.Text(kPunchRow, day, slot);
    if (c == '0') text.assign(5, '\0');
    if (c == '.') text.clear();
    if (c >= '1' && c <= '9') text = "0" + std::string(1, c) + ":00";
    card.Text(kPunchRow, day == 0 ? 1 : 0, slot) = "07:00";
  }
  return card;
}

TEST(PunchSlots, NextAndFreeSlotOfADay) {
  // The day; the punch screen's cursor; where a punch meant for a taken slot goes.
  const std::tuple<const char*, int, int> cases[] = {
      {"--------", 1, 1}, {"1-------", 2, 2}, {"-2------", 3, 3}, {"1234567-", 8, 8}, {"-------8", 8, 1},
      {"123-5678", 8, 4}, {"12345678", 8, 0}, {"10000000", 2, 2}, {"..3.....", 4, 4},
  };
  for (const auto& [day, next, freeSlot] : cases) {
    EXPECT_EQ(NextPunchSlot(DayOf(day, 2), 2), next) << day;
    EXPECT_EQ(FreePunchSlot(DayOf(day, 2), 2), freeSlot) << day;
  }
}

// Another station filled the slot this station's screen chose: the punch goes to the day's
// free slot, and the card comes back as stored.
TEST(PunchSlots, APunchIntoATakenSlotMovesOnAndIsRefusedOnlyWhenTheDayIsFull) {
  StoreFixture s;
  TimeCard seen;  // as both screens read it
  std::string name, id, n, i;
  ASSERT_TRUE(ReadTimeCard(s.program.store, seen, name, 9, "20121215", id));
  // What another station stored for day 3 meanwhile; the slot this screen punches; where the
  // punch goes (0: refused).
  const std::tuple<const char*, int, int> steps[] = {
      {"1-------", 1, 2}, {"123-5678", 2, 4}, {"1-------", 5, 5}, {"12345678", 3, 0}};
  for (const auto& [day, chosen, expected] : steps) {
    TimeCard theirs = DayOf(day, 3), mine = seen, onFile;
    ASSERT_TRUE(WriteTimeCard(s.program.store, theirs, name, 9, "20121215", id));
    int stored = -1;
    ASSERT_TRUE(PunchTimeCard(s.program.store, mine, name, 9, "20121215", id, 3, chosen, "23:59", &stored));
    EXPECT_EQ(stored, expected) << day;
    if (expected != 0) theirs.Text(kPunchRow, 3, expected) = "23:59";
    ASSERT_TRUE(ReadTimeCard(s.program.store, onFile, n, 9, "20121215", i));
    EXPECT_EQ(onFile.texts[kPunchRow], theirs.texts[kPunchRow]) << day;
    EXPECT_EQ(mine.texts[kPunchRow], theirs.texts[kPunchRow]) << day;
  }
  EXPECT_TRUE(s.StrayFiles().empty());
}

// Every byte of the week's file tells its place, so a byte written where it should not be shows.
TEST(CardUpdates, EachUpdateWritesOnlyItsOwnBytesOfTheCardAsStored) {
  StoreFixture s;
  std::filesystem::create_directories(s.CardFolder());
  StoreContext& store = s.program.store;
  TimeCard card;
  std::string id, patterned(57 * 800, ' ');
  for (size_t i = 0; i < patterned.size(); ++i)
    patterned[i] = static_cast<char>('!' + (i * 7 + i / 800) % 90);
  auto at = [](int slot, size_t offset) { return 800 * static_cast<size_t>(slot) + offset; };
  const std::string ann = "ANN" + std::string(21, ' ');
  std::vector<std::pair<size_t, std::string>> allNames;
  for (int slot = 1; slot <= 56; ++slot)
    allNames.push_back({at(slot, 0), store.associates.names[slot] + store.associates.ids[slot]});
  const std::pair<std::function<Status()>, std::vector<std::pair<size_t, std::string>>> cases[] = {
      {[&] { return CorrectTimeCard(store, card, id, 5, "20121215", "ANN", 2, 3, "08:30", "  7"); },
       {{at(5, 0), ann}, {at(5, 312 + 5 * 18), "08:30"}, {at(5, 592 + 18), "\7"}}},
      {[&] { return CorrectTimeCard(store, card, id, 56, "20121215", "ANN", 6, 8, "     ", "     "); },
       {{at(56, 0), ann}, {at(56, 312 + 5 * 55), "     "}, {at(56, 592 + 55), std::string(1, '\0')}}},
      {[&] { return StoreDayReason(store, card, id, 2, "20121215", "ANN", 6, "DOCTOR VISIT TOO LONG"); },
       {{at(2, 0), ann}, {at(2, 648 + 72), "DOCTOR VISIT"}}},
      {[&] { return StoreNamesAndIds(store, "20121215"); }, allNames},
      {[&] { return StoreCardHeaderSettings(store, "20121215", 1, "000000000ABC"); },
       {{0, std::string(1, '\1') + "000000000ABC"}}},
  };
  for (const auto& [update, changed] : cases) {
    StoreFixture::WriteFileBytes(s.CardPath(), patterned);
    ASSERT_TRUE(update());
    std::string expected = patterned;
    for (const auto& [offset, bytes] : changed) expected.replace(offset, bytes.size(), bytes);
    const std::string now = StoreFixture::ReadFileBytes(s.CardPath());
    EXPECT_TRUE(now == expected)
        << "first difference at byte "
        << std::mismatch(now.begin(), now.end(), expected.begin(), expected.end()).first - now.begin();
    EXPECT_TRUE(s.StrayFiles().empty());
  }
  // The card comes back as the file holds it, and its header's settings come into force, but
  // not from the header write: the settings there are the screen's.
  EXPECT_EQ(card.Text(kPunchRow, 6, 8), patterned.substr(at(2, 32 + 5 * 55), 5));
  EXPECT_EQ(store.associates.storeId, patterned.substr(1, 12));
}

}  // namespace
}  // namespace shiftlog
