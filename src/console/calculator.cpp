#include "console/calculator.h"

#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "console/boxes.h"
#include "console/double_text.h"
#include "text/text_fields.h"
#include "console/wait_key.h"

namespace shiftlog {

namespace {

constexpr int kLargeDisplayRow = 5;
constexpr int kSmallDisplayRow = 24;
constexpr int kDisplayColumn = 25;
constexpr size_t kEntryLength = 12;
constexpr int kDrawingPage = 1;
// Page 1 may hold the screen an export or transmit dialog saved on entry; it waits here while
// the calculator draws over page 1.
constexpr int kStashPage = 2;

enum Operator { kNone = 0, kAdd = 1, kSubtract = 2, kMultiply = 3, kDivide = 4 };

// The face is written here with the glyphs it shows; the screen takes code page 437 bytes.
std::string Cp437(std::string_view utf8) {
  struct Glyph {
    std::string_view text;
    unsigned char code;
  };
  // clang-format off
  static constexpr std::array<Glyph, 16> kGlyphs = {{
      {"╔", 201}, {"═", 205}, {"╗", 187}, {"║", 186}, {"╚", 200}, {"╝", 188}, {"╣", 185}, {"╠", 204},
      {"┌", 218}, {"─", 196}, {"┐", 191}, {"│", 179}, {"└", 192}, {"┘", 217}, {"÷", 246}, {"√", 251}}};
  // clang-format on
  std::string bytes;
  for (size_t i = 0; i < utf8.size();) {
    bool found = false;
    for (const Glyph& glyph : kGlyphs) {
      if (utf8.substr(i, glyph.text.size()) == glyph.text) {
        bytes += static_cast<char>(glyph.code);
        i += glyph.text.size();
        found = true;
        break;
      }
    }
    if (!found) bytes += utf8[i++];
  }
  return bytes;
}

constexpr std::array<std::string_view, 20> kFace = {
    "╔═══════════════════════════════════════╗", "║ ┌───────────────────────────────────┐ ║",
    "║ │                                   │ ║", "║ └───────────────────────────────────┘ ║",
    "║ ┌────┐    ┌────┐ ┌────┐ ┌────┐ ┌────┐ ║", "║ │  C │    │ ON │ │  ÷ │ │  X │ │  - │ ║",
    "║ └────┘    └────┘ └────┘ └────┘ └────┘ ║", "║ ┌────┐    ┌────┐ ┌────┐ ┌────┐ ┌────┐ ║",
    "║ │ CE │    │  7 │ │  8 │ │  9 │ │    │ ║", "║ └────┘    └────┘ └────┘ └────┘ │  + │ ║",
    "║           ┌────┐ ┌────┐ ┌────┐ │    │ ║", "║           │  4 │ │  5 │ │  6 │ │    │ ║",
    "║           └────┘ └────┘ └────┘ └────┘ ║", "║           ┌────┐ ┌────┐ ┌────┐ ┌────┐ ║",
    "║           │  1 │ │  2 │ │  3 │ │    │ ║", "║           └────┘ └────┘ └────┘ │  = │ ║",
    "║ ┌────┐    ┌───────────┐ ┌────┐ │    │ ║", "║ │  √ │    │     0     │ │  . │ │    │ ║",
    "║ └────┘    └───────────┘ └────┘ └────┘ ║", "╚═╣ESC = Quit╠═╣F2 = Small╠═╣F9 = Keys╠═╝",
};

// The keyboard keys that work the buttons, printed over the face from column 23, rows 7-11.
constexpr std::array<std::string_view, 5> kKeyLegend = {
    "PAGE┐    ┌─NUM", " UP │    │LOCK│ │  / │ │  *", "", "PAGE", "DOWN",
};

constexpr std::string_view kSmallLegend = " ╚════╣ESC = Quit╠═══════╣F2 = Large╠════╝";

struct CalculatorState {
  int size = kLargeDisplayRow;  // the row of the display line
  double accumulator = 0;
  std::string entry;
  bool point = false;
  int pending = kNone;
  bool newNumber = false;
};

// Copies the screen the associate was looking at to the drawing page and writes there while
// that screen stays shown.
void StartForm(Console& console, int underPage) {
  // Over a screen shown on the drawing page itself, its untouched copy is the stash.
  console.screen.CopyPage(underPage == kDrawingPage ? kStashPage : underPage, kDrawingPage);
  console.screen.SelectPages(kDrawingPage, underPage);
}

void DrawLargeForm(Console& console, int underPage) {
  Screen& screen = console.screen;
  StartForm(console, underPage);
  for (size_t i = 0; i < kFace.size(); ++i) {
    const int row = 3 + static_cast<int>(i);
    console.SetColours(15, 4, 0, 7);
    screen.Locate(row, 19);
    screen.PrintText(" " + Cp437(kFace[i]) + " ");
    if (console.Colour() && i > 0) {
      screen.SetBackground(0);
      screen.PrintText("  ");
    }
  }
  if (console.Colour()) {
    screen.Locate(23, 21, false);
    screen.SetBackground(0);
    screen.PrintText(std::string(43, ' '));
  }
  screen.SelectPages(kDrawingPage, kDrawingPage);
  console.SetColours(0, 7, 7, 0);
}

void DrawSmallForm(Console& console, int underPage) {
  Screen& screen = console.screen;
  StartForm(console, underPage);
  console.SetColours(15, 4, 0, 7);
  for (int row = 23; row <= 25; ++row) {
    screen.Locate(row, 19);
    screen.PrintText(std::string(43, ' '));
  }
  Box(console, 20, 23, 41, 3);
  screen.Locate(25, 19);
  screen.PrintText(Cp437(kSmallLegend));
  console.SetColours(0, 7, 7, 0);
  screen.SelectPages(kDrawingPage, kDrawingPage);
}

void ShowEntry(Console& console, const CalculatorState& state) {
  console.screen.Locate(state.size, kDisplayColumn);
  const std::string entry = std::string(kEntryLength - state.entry.size(), ' ') + state.entry;
  console.screen.PrintText(std::string(18, ' ') + entry);
}

void ShowResult(Console& console, CalculatorState& state) {
  // Past the range of doubles there is no number to show: the overflow mark stays until [C]
  // (or a new number after [ENTER]) puts the accumulator back to 0.
  std::string text = PlainDoubleText(state.accumulator);
  if (text.size() > 30) text.resize(30);
  console.screen.Locate(state.size, kDisplayColumn);
  console.screen.PrintText(std::string(30 - text.size(), ' ') + text + " ");
  state.entry.clear();
  state.point = false;
}

void Redraw(Console& console, CalculatorState& state, int underPage) {
  console.screen.SetCursorVisible(false);
  if (state.size == kLargeDisplayRow) {
    DrawLargeForm(console, underPage);
  } else {
    DrawSmallForm(console, underPage);
  }
  ShowResult(console, state);
}

void Compute(Console& console, CalculatorState& state) {
  const double value = NumericValue(state.entry);
  switch (state.pending) {
    case kSubtract:
      state.accumulator -= value;
      break;
    case kMultiply:
      state.accumulator = value * state.accumulator;
      break;
    case kDivide:
      if (value == 0) {
        ShowEntry(console, state);  // nothing to compute: the entry stays for correcting
        return;
      }
      state.accumulator /= value;
      break;
    default:
      state.accumulator += value;
      break;
  }
  ShowResult(console, state);
}

}  // namespace

void Calculator(Console& console) {
  if (console.noGraphics != 0) return;
  Screen& screen = console.screen;

  // What the opener had, so that [ESC] hands back exactly the screen it left.
  const int writtenPage = screen.WrittenPage();
  const int underPage = screen.ShownPage();
  const ScreenPen pen = ScreenPen::Of(screen);
  screen.CopyPage(kDrawingPage, kStashPage);

  CalculatorState state;
  Redraw(console, state, underPage);

  for (;;) {
    const KeyText key = ReadKeyWithoutClock(console);
    const bool extended = key.size() == 2 && key[0] == '\0';
    const char c = extended ? '\0' : key[0];

    const bool digit = c >= '0' && c <= '9';
    if ((digit || (c == '.' && !state.point)) && state.entry.size() < kEntryLength) {
      if (state.newNumber) {
        state.accumulator = 0;
        state.pending = kNone;
      }
      state.entry += c;
      if (c == '.') state.point = true;
      ShowEntry(console, state);
    }
    if (state.newNumber) {
      state.newNumber = false;
      state.pending = kNone;
    }
    if (c == '+' || c == '-' || c == '*' || c == '/') {
      Compute(console, state);
      state.pending = c == '+' ? kAdd : c == '-' ? kSubtract : c == '*' ? kMultiply : kDivide;
    } else if (c == '\r') {
      Compute(console, state);
      state.newNumber = true;
    } else if (c == '\x1b') {
      screen.CopyPage(kStashPage, kDrawingPage);
      screen.SelectPages(writtenPage, underPage);
      screen.ResetTextWindow();
      pen.GiveBack(screen);
      return;
    } else if (c == '\b') {
      if (!state.entry.empty()) {
        if (state.entry.back() == '.') state.point = false;
        state.entry.pop_back();
        ShowEntry(console, state);
      }
    } else if (extended) {
      const int scan = static_cast<unsigned char>(key[1]);
      if (scan == kKeyRight) {  // the square-root button
        if (state.accumulator == 0) state.accumulator = NumericValue(state.entry);
        if (state.accumulator < 0) {
          console.Beep();
        } else {
          state.accumulator = std::sqrt(state.accumulator);
          state.pending = kNone;
          ShowResult(console, state);
        }
      } else if (scan == kKeyPageUp) {  // C
        state.accumulator = 0;
        state.entry.clear();
        state.pending = kNone;
        ShowResult(console, state);
      } else if (scan == kKeyPageDown) {  // CE
        state.entry.clear();
        ShowResult(console, state);
      } else if (scan == kKeyF9 && state.size == kLargeDisplayRow) {
        console.SetColours(15, 4, 0, 7);
        for (size_t i = 0; i < kKeyLegend.size(); ++i) {
          screen.Locate(7 + static_cast<int>(i), 23);
          screen.PrintText(Cp437(kKeyLegend[i]));
        }
        screen.Locate(20, 24);
        screen.PrintText("->");
        screen.Locate(18, 54);
        screen.PrintText("ENTER");
        // Any key puts the face back; an empty key text counts here too.
        std::optional<KeyText> any;
        while (!any) {
          console.Present();
          any = console.terminal().ReadKey(-1);
        }
        Redraw(console, state, underPage);
      } else if (scan == kKeyF2) {
        state.size = state.size == kLargeDisplayRow ? kSmallDisplayRow : kLargeDisplayRow;
        Redraw(console, state, underPage);
      }
    }
  }
}

}  // namespace shiftlog
