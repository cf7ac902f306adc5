#include "console/wait_key.h"

#include <cstdio>
#include <optional>

#include "console/calculator.h"
#include "text/text_fields.h"

namespace shiftlog {

std::string TwelveHourClock(int hour, int minute, int second) {
  int shown = hour % 12;
  if (shown == 0) shown = 12;
  char text[16];
  std::snprintf(text, sizeof text, "%2d:%02d:%02d%cm", shown, minute % 60, second % 60, hour < 12 ? 'a' : 'p');
  return text;
}

KeyText TranslateAltKeys(const KeyText& keyText) {
  if (keyText.size() != 2) return keyText;
  const int scan = static_cast<unsigned char>(keyText[1]);
  if (scan >= 120 && scan <= 129) return ExtendedKey(scan - 61);
  if (scan == 130 || scan == 131) return ExtendedKey(scan + 3);
  return keyText;
}

KeyText ReadKeyWithoutClock(Console& console) {
  for (;;) {
    console.Present();
    const std::optional<KeyText> key = console.terminal().ReadKey(-1);
    if (key && !key->empty()) return *key;
  }
}

int KeyCodeOf(const KeyText& keyText) {
  if (keyText.empty()) return 0;
  const unsigned char first = static_cast<unsigned char>(keyText[0]);
  if (first == '+') return kKeyPlus;
  if (first < 32) {
    if (first != 0) return first;
    if (keyText.size() == 2) {
      const int scan = static_cast<unsigned char>(keyText[1]);
      return scan == kKeyF11 ? kKeyEscape : scan;
    }
    return 0;
  }
  if (keyText.size() == 1 && first >= '1' && first <= '9') return first - '0';
  return 0;
}

namespace {

// Draws the clock and the tag for this moment, leaving the caller's position and colours as
// they were so the cursor stays where the screen put it.
void DrawClockAndTag(Console& console, const LocalTime& now, bool showClock, int tagColumn, int tagRow,
                     std::string_view tagText) {
  Screen& screen = console.screen;
  const int row = screen.Row() > kRows ? kRows : screen.Row();
  const int column = screen.Column();
  const int foreground = screen.Foreground();
  const int background = screen.Background();
  const bool cursorVisible = screen.Cursor().visible;

  if (showClock) {
    console.SetColours(15, 1, Console::kMonoFG, 0);
    screen.Locate(1, 2);
    screen.PrintText(TwelveHourClock(now.hour, now.minute, now.second));
  }
  if (tagColumn != 0) {
    std::string tag;
    if (TrimBlanks(tagText).empty()) {
      char hhmm[8];
      std::snprintf(hhmm, sizeof hhmm, "%02d:%02d", now.hour % 100, now.minute % 100);
      tag = hhmm;
      console.SetColours(15, 3, 0, 7);
    } else {
      tag = std::string(tagText);
      console.SetColours(15, 5, 0, 7);
    }
    screen.Locate(tagRow, tagColumn);
    std::string cells = " ";
    cells += TextField(tag, 5);
    cells += ' ';
    screen.PrintText(cells);
  }
  screen.SetColour(foreground, background);
  screen.Locate(row, column, cursorVisible);
}

}  // namespace

void WaitKey(Console& console, bool showClock, int tagColumn, int tagRow, std::string_view tagText) {
  console.keyCode = 0;
  const bool ticking = showClock || tagColumn != 0;
  for (;;) {
    console.keyText.clear();
    std::optional<KeyText> key;
    while (!key) {
      const LocalTime now = console.clock().Now();
      if (ticking) DrawClockAndTag(console, now, showClock, tagColumn, tagRow, tagText);
      console.Present();
      // Sleep until a key comes or the shown second runs out; with nothing ticking, until a key.
      key = console.terminal().ReadKey(ticking ? MillisecondsToNextSecond(now) : -1);
    }
    KeyText text = TranslateAltKeys(*key);
    // Where the terminal cannot tell [CTRL]+[INSERT] from [INSERT] (the Linux console), the
    // plain key must still punch; no screen that uses the key wait wants [INSERT] alone.
    if (text == ExtendedKey(kKeyInsert)) text = ExtendedKey(kKeyCtrlInsert);
    if (text == ExtendedKey(kKeyF2)) {
      if (console.noGraphics == 0) Calculator(console);
      continue;
    }
    console.keyText = text;
    console.keyCode = KeyCodeOf(text);
    return;
  }
}

}  // namespace shiftlog
