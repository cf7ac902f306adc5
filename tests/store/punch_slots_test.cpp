// Where a punch goes on a day: the punch screen's cursor and the store's free slot.
#include "store/punch_slots.h"

#include <gtest/gtest.h>

#include <string>

#include "store/time_card_file.h"
#include "store_fixture.h"

namespace shiftlog {
namespace {

using testing::StoreFixture;

// A day written as 8 characters, one per slot: '-' empty, '0' zero bytes, any other a punch.
TimeCard DayOf(const std::string& slots, int day = 2) {
  TimeCard card;
  for (int slot = 1; slot <= 8; ++slot) {
    const char c = slots[static_cast<size_t>(slot - 1)];
    std::string& text = card.Text(kPunchRow, day, slot);
    if (c == '0') text.assign(5, '\0');
    if (c != '-' && c != '0') text = "0" + std::string(1, c) + ":00";
  }
  // Other days full, so that only the day asked about can decide.
  for (int slot = 1; slot <= 8; ++slot) card.Text(kPunchRow, day == 0 ? 1 : 0, slot) = "07:00";
  return card;
}

TEST(PunchSlots, NextAndFreeSlotOfADay) {
  struct Case {
    const char* day;
    int next;  // the punch screen's cursor
    int free;  // where a punch meant for a taken slot goes
  } cases[] = {
      {"--------", 1, 1}, {"1-------", 2, 2}, {"12------", 3, 3}, {"-2------", 3, 3}, {"1-3-----", 4, 4},
      {"1234567-", 8, 8}, {"-------8", 8, 1}, {"12-4567-", 8, 8}, {"123-5678", 8, 4}, {"12345678", 8, 0},
      {"10000000", 2, 2}, {"0000000-", 1, 1}, {"1----0-8", 8, 2},
  };
  for (const Case& c : cases) {
    const TimeCard card = DayOf(c.day);
    EXPECT_EQ(NextPunchSlot(card, 2), c.next) << c.day;
    EXPECT_EQ(FreePunchSlot(card, 2), c.free) << c.day;
  }
  // The cleaned texts the punch screen keeps (empty for no punch) count the same.
  TimeCard cleaned;
  for (int slot = 1; slot <= 8; ++slot) cleaned.Text(kPunchRow, 4, slot).clear();
  cleaned.Text(kPunchRow, 4, 3) = "12:00";
  EXPECT_EQ(NextPunchSlot(cleaned, 4), 4);
}

// Another station filled the slot this station's screen chose: the punch goes to the day's
// free slot, and the card comes back as stored.
TEST(PunchSlots, APunchIntoATakenSlotMovesOnAndIsRefusedOnlyWhenTheDayIsFull) {
  StoreFixture s;
  TimeCard card;
  std::string name, id;
  ASSERT_TRUE(ReadTimeCard(s.program.store, card, name, 9, "20121215", id));
  const TimeCard seen = card;  // as both screens read it

  struct Step {
    const char* theirs;  // what another station has stored for day 3 meanwhile
    int chosen;          // the slot this screen punches
    int stored;          // where the punch goes; 0 refused
  } steps[] = {
      {"1-------", 1, 2}, {"-------8", 8, 1}, {"123-5678", 2, 4}, {"1-------", 5, 5}, {"12345678", 3, 0},
  };
  for (const Step& step : steps) {
    TimeCard theirs = DayOf(step.theirs, 3);
    ASSERT_TRUE(WriteTimeCard(s.program.store, theirs, name, 9, "20121215", id));
    TimeCard mine = seen;
    int stored = -1;
    ASSERT_TRUE(
        PunchTimeCard(s.program.store, mine, name, 9, "20121215", id, 3, step.chosen, "23:59", &stored));
    EXPECT_EQ(stored, step.stored) << step.theirs;
    TimeCard expected = theirs;
    if (step.stored != 0) expected.Text(kPunchRow, 3, step.stored) = "23:59";
    TimeCard onFile;
    std::string n, i;
    ASSERT_TRUE(ReadTimeCard(s.program.store, onFile, n, 9, "20121215", i));
    for (int slot = 1; slot <= 8; ++slot) {
      EXPECT_EQ(onFile.Text(kPunchRow, 3, slot), expected.Text(kPunchRow, 3, slot)) << step.theirs << slot;
      EXPECT_EQ(mine.Text(kPunchRow, 3, slot), expected.Text(kPunchRow, 3, slot)) << step.theirs << slot;
    }
  }
  EXPECT_TRUE(s.StrayFiles().empty());
}

}  // namespace
}  // namespace shiftlog
