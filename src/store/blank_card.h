// Which cards an export of "all cards" leaves out: a blank card has no name (after leading
// blanks) and no punch or correction time. Correctors and day reasons do not count.
#pragma once

#include <string_view>

#include "store/time_card.h"

namespace shiftlog {

bool IsBlankCard(const TimeCard& card, std::string_view name);

}  // namespace shiftlog
