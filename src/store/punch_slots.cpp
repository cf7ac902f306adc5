#include "store/punch_slots.h"

#include "store/card_record.h"

namespace shiftlog {

namespace {

bool Filled(const TimeCard& card, int day, int slot) {
  return !IsEmptyCardTime(card.Text(kPunchRow, day, slot));
}

}  // namespace

int NextPunchSlot(const TimeCard& card, int day) {
  for (int slot = 8; slot >= 1; --slot) {
    if (Filled(card, day, slot)) return slot == 8 ? 8 : slot + 1;
  }
  return 1;
}

int FreePunchSlot(const TimeCard& card, int day) {
  const int next = NextPunchSlot(card, day);
  if (!Filled(card, day, next)) return next;
  // Slot 8 is taken: a gap earlier in the day is the only place left that loses nothing.
  for (int slot = 1; slot <= 8; ++slot) {
    if (!Filled(card, day, slot)) return slot;
  }
  return 0;
}

}  // namespace shiftlog
