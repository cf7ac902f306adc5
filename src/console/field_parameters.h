// The table of integers that the field editor and the screens that call it share. Entries are
// known by number: callers set the field's shape and colours, the editor keeps its cursor and
// saved colours there between calls, and reports which way the associate wants to leave.
#pragma once

#include <array>
#include <cassert>

namespace shiftlog {

enum FieldParameter {
  kFieldEditing = 4,      // 1 editing on (cursor shown, typing works), 0 a highlight bar only
  kFieldLines = 5,        // display lines
  kFieldMaxLength = 6,    // characters in the text
  kFieldWidth = 7,        // characters per display line
  kFieldVertical = 8,     // leave direction set by the editor: -1 up, +1 down, 0 none
  kFieldHorizontal = 9,   // leave direction set by the editor: -1 left, +1 right, 0 none
  kFieldBackground = 11,  // colours of the field while it is open
  kFieldForeground = 12,
  kFieldSavedBackground = 13,  // colours found under the field's first character when it opened
  kFieldSavedForeground = 14,
  kFieldKeyCharLeft = 15,  // key table: scan codes of the editing keys
  kFieldKeyCharRight = 16,
  kFieldKeyLineUp = 17,
  kFieldKeyLineDown = 18,
  kFieldKeyLeaveUp = 19,
  kFieldKeyLeaveDown = 20,
  kFieldKeyLeaveLeft = 21,
  kFieldKeyLeaveRight = 22,
  kFieldOpen = 23,  // 1 while the field is open
  kFieldCursorRow = 24,
  kFieldCursorColumn = 25,
  kFieldCursorIndex = 27,  // 1 to the maximum length
};

// A key table entry that matches no key.
inline constexpr int kFieldNoKey = 999;

struct FieldParameters {
  std::array<int, 28> values{};

  int& operator[](int number) {
    assert(number >= 0 && number < static_cast<int>(values.size()));
    return values[static_cast<size_t>(number)];
  }
  int operator[](int number) const {
    assert(number >= 0 && number < static_cast<int>(values.size()));
    return values[static_cast<size_t>(number)];
  }
};

// A one-line field of length characters in white on cyan, the way the supervisor screens and
// the dialogs open theirs; with editing off it is a highlight bar that only reports the key
// that moves it.
inline FieldParameters OneLineField(int length, bool editing = true) {
  FieldParameters parameters;
  parameters[kFieldEditing] = editing ? 1 : 0;
  parameters[kFieldLines] = 1;
  parameters[kFieldMaxLength] = length;
  parameters[kFieldWidth] = length;
  parameters[kFieldBackground] = 3;
  parameters[kFieldForeground] = 15;
  return parameters;
}

}  // namespace shiftlog
