#include "store/blank_card.h"

#include "store/card_record.h"

namespace shiftlog {

bool IsBlankCard(const TimeCard& card, std::string_view name) {
  if (name.find_first_not_of(' ') != std::string_view::npos) return false;
  for (int day = 0; day < 7; ++day) {
    for (int slot = 1; slot <= 8; ++slot) {
      // A time of zero bytes (a record the file does not have) is no time either.
      if (!IsEmptyCardTime(card.Text(kPunchRow, day, slot)) ||
          !IsEmptyCardTime(card.Text(kCorrectionRow, day, slot)))
        return false;
    }
  }
  return true;
}

}  // namespace shiftlog
