// The masked PIN field and the rules by which a typed PIN finds its associate.
#pragma once

#include <string>
#include <string_view>

#include "console/console.h"
#include "store/associates.h"

namespace shiftlog {

inline constexpr int kPinFieldWidth = 8;
inline constexpr char kPinCancelled[] = "\x1b";  // what EnterPin hands back for [ESC]

// Shows a masked field of 8 cells at (row, column) on the given background and reads keys
// until [ENTER] or [ESC]. On entry text "NUMBERS" admits digits only; on return text holds the
// typed characters (letters in upper case), or kPinCancelled for [ESC].
void EnterPin(Console& console, int row, int column, int background, std::string& text);

// The number a typed PIN stands for: leading zeros do not count, a fraction is rounded to the
// nearest whole number (halves to even), empty text is 0. Kept wider than the stored 32-bit
// PINs, so a value no PIN can have simply matches nobody.
long long PinValue(std::string_view typed);

// The lowest slot 1-56 whose PIN is value (at the supervisor gate: the lowest supervisor slot),
// or kNoMatch. A value of 0 is nobody's PIN.
int MatchPin(const AssociateList& associates, long long value, bool supervisorsOnly);

}  // namespace shiftlog
