// Which of a day's eight punch slots a punch goes into. The punch screen places its cursor by
// the same rule that the store follows when the slot the screen chose was filled by another
// station meanwhile, so both always agree on "the next punch of the day".
#pragma once

#include "store/time_card.h"

namespace shiftlog {

// The slot after the highest filled slot of the day (0-6): 1 when the day has no punch yet,
// 8 when slot 8 is filled. Empty slots below a filled one do not count.
int NextPunchSlot(const TimeCard& card, int day);

// Where a punch goes when the slot it was meant for is taken: the slot after the highest filled
// one, or, when slot 8 is filled, the first empty slot of the day; 0 when all 8 are filled.
int FreePunchSlot(const TimeCard& card, int day);

}  // namespace shiftlog
