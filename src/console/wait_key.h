// The key wait through which nearly every screen reads its keys: it keeps the clock and the
// caller's tag running on the screen while it waits, turns Alt+digits into function keys,
// opens the calculator on [F2], and derives the key code the screens test.
#pragma once

#include <string_view>

#include "console/console.h"

namespace shiftlog {

// Key codes the screens react to (the PC scan codes of the extended keys).
enum KeyCode {
  kKeyBackspace = 8,
  kKeyTab = 9,
  kKeyEnter = 13,
  kKeyEscape = 27,
  kKeyPlus = 43,
  kKeyF1 = 59,
  kKeyF2 = 60,
  kKeyF5 = 63,
  kKeyF8 = 66,
  kKeyF9 = 67,
  kKeyF10 = 68,
  kKeyHome = 71,
  kKeyUp = 72,
  kKeyPageUp = 73,
  kKeyLeft = 75,
  kKeyRight = 77,
  kKeyEnd = 79,
  kKeyDown = 80,
  kKeyPageDown = 81,
  kKeyInsert = 82,
  kKeyDelete = 83,
  kKeyF11 = 133,
  kKeyF12 = 134,
  kKeyCtrlInsert = 146,
  kKeyCtrlTab = 148,
};

// Waits for a key. showClock: the 12-hour clock runs at row 1, column 2. tagColumn not 0: a
// 7-cell tag at (tagRow, tagColumn) shows tagText, or the running hh:mm when tagText is blank.
// Sets the console's key text and key code.
void WaitKey(Console& console, bool showClock, int tagColumn, int tagRow, std::string_view tagText);

// Waits for a key on a screen that runs no clock: shows the screen, then sleeps until a key
// comes. The key comes as the keyboard gives it, without the Alt translation.
KeyText ReadKeyWithoutClock(Console& console);

// The key code the key wait derives from a key text (after the Alt translation).
int KeyCodeOf(const KeyText& keyText);

// The Alt+digit translation: Alt+1..Alt+0 become F1..F10, Alt+- and Alt+= F11 and F12.
KeyText TranslateAltKeys(const KeyText& keyText);

// The ten cells of the running clock: " 9:05:07am", "12:30:00pm".
std::string TwelveHourClock(int hour, int minute, int second);

}  // namespace shiftlog
