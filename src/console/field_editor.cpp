#include "console/field_editor.h"

#include <algorithm>

#include "console/calculator.h"
#include "text/text_fields.h"
#include "console/wait_key.h"

namespace shiftlog {

namespace {

// Key tables: which scan codes move the cursor inside the field and which leave it.
// "I" keeps the leave-up and leave-down entries as they were.
void LoadKeyTable(const std::string& mode, FieldParameters& p) {
  if (mode == "I") {
    p[kFieldKeyCharLeft] = kKeyLeft;
    p[kFieldKeyCharRight] = kKeyRight;
    p[kFieldKeyLineUp] = kKeyUp;
    p[kFieldKeyLineDown] = kKeyDown;
    p[kFieldKeyLeaveLeft] = 135;   // Shift+[F11]
    p[kFieldKeyLeaveRight] = 136;  // Shift+[F12]
  } else if (mode == "J") {
    p[kFieldKeyCharLeft] = 135;
    p[kFieldKeyCharRight] = 136;
    p[kFieldKeyLineUp] = kKeyF11;  // never seen: [F11] leaves as [ESC] first
    p[kFieldKeyLineDown] = kKeyF12;
    p[kFieldKeyLeaveUp] = kKeyUp;
    p[kFieldKeyLeaveDown] = kKeyDown;
    p[kFieldKeyLeaveLeft] = kKeyLeft;
    p[kFieldKeyLeaveRight] = kKeyRight;
  } else {  // "JU": left and right move inside the field, up and down leave it
    p[kFieldKeyCharLeft] = kKeyLeft;
    p[kFieldKeyCharRight] = kKeyRight;
    p[kFieldKeyLineUp] = kFieldNoKey;
    p[kFieldKeyLineDown] = kFieldNoKey;
    p[kFieldKeyLeaveUp] = kKeyUp;
    p[kFieldKeyLeaveDown] = kKeyDown;
    p[kFieldKeyLeaveLeft] = kFieldNoKey;
    p[kFieldKeyLeaveRight] = kFieldNoKey;
  }
}

// An entry of 0 is a table slot nobody loaded: it matches no key.
bool Matches(const FieldParameters& p, int entry, int scanCode) {
  return p[entry] != 0 && p[entry] == scanCode;
}

void DrawField(Screen& screen, int column, int row, const std::string& text, const FieldParameters& p) {
  const size_t width = static_cast<size_t>(std::max(1, p[kFieldWidth]));
  for (int j = 1; j <= p[kFieldLines] && row + j - 1 <= kRows; ++j) {
    const size_t first = static_cast<size_t>(j - 1) * width;
    screen.Locate(row + j - 1, column);
    if (first < text.size()) screen.PrintText(std::string_view(text).substr(first, width));
  }
}

// Waits for the next key, showing the screen first. The editor has no clock to keep running,
// so it simply sleeps until a key comes.
KeyText ReadEditorKey(Console& console) {
  return TranslateAltKeys(ReadKeyWithoutClock(console));
}

void OpenField(Console& console, int column, int row, int displayMode, std::string& text,
               FieldParameters& p) {
  Screen& screen = console.screen;
  text = TextField(text, std::max(1, p[kFieldMaxLength]));
  if (displayMode == kMonochrome) {
    p[kFieldBackground] = 7;
    p[kFieldForeground] = 0;
  }
  screen.SetColour(p[kFieldForeground], p[kFieldBackground]);
  screen.SetCursorShape(10, 12);
  if (p[kFieldKeyLineUp] == 0) LoadKeyTable("I", p);
  const int attribute = screen.CellAttribute(row, column);
  p[kFieldSavedBackground] = (attribute >> 4) & 7;
  p[kFieldSavedForeground] = attribute & 15;
  p[kFieldOpen] = 1;
  DrawField(screen, column, row, text, p);
  p[kFieldCursorIndex] = 1;
  p[kFieldCursorRow] = row;
  p[kFieldCursorColumn] = column;
}

}  // namespace

void EditField(Console& console, std::string& mode, int& exitCode, int column, int row, int displayMode,
               std::string& text, FieldParameters& p, AcceptedCharacter accepts) {
  Screen& screen = console.screen;
  if (mode == "J" || mode == "I" || mode == "JU") {
    LoadKeyTable(mode, p);
    return;
  }
  if (mode == "END") {
    screen.SetColour(p[kFieldSavedForeground], p[kFieldSavedBackground]);
    p[kFieldOpen] = 0;
    DrawField(screen, column, row, text, p);
    return;
  }

  if (p[kFieldOpen] == 0) OpenField(console, column, row, displayMode, text, p);
  const bool editing = p[kFieldEditing] != 0;
  const int maxLength = std::max(1, p[kFieldMaxLength]);
  const int width = std::max(1, p[kFieldWidth]);
  // A field resumed after the caller changed its length must still index inside the text.
  if (static_cast<int>(text.size()) != maxLength) text = TextField(text, maxLength);

  bool insertMode = false;
  bool leave = false;
  p[kFieldVertical] = 0;
  p[kFieldHorizontal] = 0;

  // Puts the cursor on the index and redraws the field.
  auto place = [&](int index) {
    p[kFieldCursorIndex] = index;
    p[kFieldCursorRow] = row + (index - 1) / width;
    p[kFieldCursorColumn] = column + (index - 1) % width;
    DrawField(screen, column, row, text, p);
  };
  auto settle = [&](int index) { place(std::min(index, maxLength)); };
  auto removeAt = [&](int index) {  // index from 1; a blank comes in at the end
    text.erase(static_cast<size_t>(index - 1), 1);
    text.push_back(' ');
  };

  for (;;) {
    screen.Locate(p[kFieldCursorRow], p[kFieldCursorColumn], editing);
    if (leave) {
      screen.SetCursorVisible(false);
      return;
    }
    KeyText key = ReadEditorKey(console);
    if (key == ExtendedKey(kKeyF2)) {
      Calculator(console);
      screen.SetColour(p[kFieldForeground], p[kFieldBackground]);
      continue;
    }
    int index = std::clamp(p[kFieldCursorIndex], 1, maxLength);
    p[kFieldCursorIndex] = index;
    screen.SetCursorVisible(false);

    const unsigned char first = static_cast<unsigned char>(key[0]);
    if (first != 0) {
      key = UpperCase(key);
      mode = key;
      const unsigned char code = static_cast<unsigned char>(key[0]);
      if (editing && code > 31 && accepts != nullptr && !accepts(code)) {
        console.Beep();
      } else if (editing && code > 31) {
        if (insertMode) {
          text.insert(static_cast<size_t>(index - 1), 1, static_cast<char>(code));
          text.resize(static_cast<size_t>(maxLength));
        } else {
          text[static_cast<size_t>(index - 1)] = static_cast<char>(code);
        }
        settle(index + 1);
      } else if (code == kKeyBackspace && index > 1 && editing) {
        // With editing off the field is a highlight bar whose text the caller stores back:
        // [BACKSPACE] leaves it like any other control key instead of eating a character.
        removeAt(index - 1);
        settle(index - 1);
      } else if (code < 32) {
        if (code == kKeyEnter) p[kFieldVertical] = 1;
        exitCode = code;
        leave = true;
      }
      continue;
    }

    mode = key;
    const int scan = key.size() > 1 ? static_cast<unsigned char>(key[1]) : 0;
    if (scan == kKeyF11) {
      exitCode = kKeyEscape;
      return;  // at once: the field stays open, the cursor already hidden
    }
    if (scan == kKeyInsert && editing) {
      insertMode = !insertMode;
    } else if (scan == kKeyDelete && editing) {
      insertMode = false;
      removeAt(index);
      DrawField(screen, column, row, text, p);
    } else if (Matches(p, kFieldKeyCharLeft, scan)) {
      if (index > 1) {
        insertMode = false;
        place(index - 1);
      }
    } else if (Matches(p, kFieldKeyCharRight, scan)) {
      if (index < maxLength) {
        insertMode = false;
        place(index + 1);
      }
    } else if (Matches(p, kFieldKeyLineUp, scan)) {
      if (index > width) {
        insertMode = false;
        place(index - width);
      }
    } else if (Matches(p, kFieldKeyLineDown, scan)) {
      if (index <= maxLength - width) {
        insertMode = false;
        place(index + width);
      }
    } else if (Matches(p, kFieldKeyLeaveUp, scan) || Matches(p, kFieldKeyLeaveDown, scan) ||
               Matches(p, kFieldKeyLeaveLeft, scan) || Matches(p, kFieldKeyLeaveRight, scan)) {
      if (Matches(p, kFieldKeyLeaveUp, scan)) {
        p[kFieldVertical] = -1;
      } else if (Matches(p, kFieldKeyLeaveDown, scan)) {
        p[kFieldVertical] = 1;
      } else if (Matches(p, kFieldKeyLeaveLeft, scan)) {
        p[kFieldHorizontal] = -1;
      } else {
        p[kFieldHorizontal] = 1;
      }
      exitCode = FieldExitCode(scan);
      leave = true;
    } else if (scan == kKeyHome) {
      settle(1);
    } else if (scan == kKeyEnd) {
      settle(static_cast<int>(TrimTrailingBlanks(text).size()) + 1);
    } else {
      exitCode = FieldExitCode(scan);
      leave = true;
    }
  }
}

}  // namespace shiftlog
