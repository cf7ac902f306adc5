#include "punch/pin_entry.h"

#include <cmath>

#include "console/wait_key.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

constexpr unsigned char kEscape = 27;
constexpr unsigned char kEnter = 13;
constexpr unsigned char kBackspace = 8;
constexpr int kScanLeft = 75;

}  // namespace

void EnterPin(Console& console, int row, int column, int background, std::string& text) {
  Screen& screen = console.screen;
  const bool digitsOnly = text == "NUMBERS";
  console.SetColours(15, background, 0, 7);
  screen.Locate(row, column, true);
  screen.PrintText(std::string(kPinFieldWidth, ' '));
  text.clear();
  int count = 0;
  for (;;) {
    // The cursor marks the next cell to fill; with the field full there is none.
    screen.Locate(row, column + count, count < kPinFieldWidth);
    // This field reads keys itself: no clock runs here.
    const KeyText key = ReadKeyWithoutClock(console);
    const unsigned char code = static_cast<unsigned char>(key[0]);
    const bool extended = code == 0;
    const int scan = extended && key.size() > 1 ? static_cast<unsigned char>(key[1]) : -1;

    if (!extended && code == kEscape) {
      text.assign(1, static_cast<char>(kEscape));  // kPinCancelled
      return;
    }
    if (!extended && code == kEnter) return;
    if ((!extended && code == kBackspace) || scan == kScanLeft) {
      if (count >= 1) {
        --count;
        screen.Locate(row, column + count);
        screen.PrintText(" ");
        text.pop_back();
      }
      continue;
    }
    if (extended || code <= 31 || count >= kPinFieldWidth) continue;  // ignored without a sound
    char typed = static_cast<char>(code);
    if (typed >= 'a' && typed <= 'z') typed = static_cast<char>(typed - 'a' + 'A');
    if (digitsOnly && (typed < '0' || typed > '9')) {
      console.Beep();
      continue;
    }
    text += typed;
    screen.Locate(row, column + count);
    screen.PrintText("*");
    ++count;
  }
}

long long PinValue(std::string_view typed) {
  // Eight characters cannot leave the range below, but the field also serves texts that are
  // not digits only; a value far outside any PIN is held at a bound that matches nobody.
  constexpr double kBound = 1e15;
  const double value = std::nearbyint(NumericValue(typed));
  if (!(value > -kBound)) return static_cast<long long>(-kBound);
  if (!(value < kBound)) return static_cast<long long>(kBound);
  return static_cast<long long>(value);
}

int MatchPin(const AssociateList& associates, long long value, bool supervisorsOnly) {
  if (value == 0) return kNoMatch;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    if (associates.pins[slot] != value) continue;
    if (supervisorsOnly && associates.supervisor[slot] != 1) continue;
    return slot;
  }
  return kNoMatch;
}

}  // namespace shiftlog
