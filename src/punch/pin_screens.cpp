#include "punch/pin_screens.h"

#include <string>

#include "console/boxes.h"
#include "punch/pin_entry.h"

namespace shiftlog {

namespace {

constexpr int kFieldRow = 11;
constexpr int kFieldColumn = 36;
constexpr int kFieldBackground = 5;

static_assert(kVersionLabel.size() == 14, "the version label fills 14 cells of the frame");

void DrawPinScreen(Console& console, bool supervisorGate) {
  Screen& screen = console.screen;
  console.SetColours(15, 7, 7, 0);
  screen.ClearScreen();
  if (console.Colour()) {
    ShadowPanel(console, 20, 8, 40, 8, 1);
    screen.SetForeground(15);
  }
  Box(console, 21, 8, 38, 8);
  if (supervisorGate) {
    screen.Locate(9, 27);
    screen.PrintText("Enter supervisor PIN number.");
  } else {
    screen.Locate(9, 28);
    screen.PrintText("Enter employee PIN number.");
  }
  screen.Locate(14, 30);
  screen.PrintText("Press [ESC] to cancel.");
  if (!supervisorGate) {
    screen.Locate(15, 43);
    screen.PrintText(kVersionLabel);
  }
}

// The loop both screens share: the PIN field until [ESC] (0) or a PIN that matches (the slot).
// The screen is not redrawn between tries, so " No Match " stays until the screen is left.
int AskForPin(Program& program, bool supervisorGate) {
  Console& console = program.console;
  DrawPinScreen(console, supervisorGate);
  for (;;) {
    std::string text = "NUMBERS";
    EnterPin(console, kFieldRow, kFieldColumn, kFieldBackground, text);
    if (text == kPinCancelled) return 0;
    const long long value = PinValue(text);
    if (value == 0) {
      console.Beep();
      continue;
    }
    const int slot = MatchPin(program.store.associates, value, supervisorGate);
    if (slot == kNoMatch) {
      console.SetColours(15, 3, 7, 0);
      console.screen.Locate(13, 35);
      console.screen.PrintText(" No Match ");
      console.Beep();
      continue;
    }
    console.screen.SetCursorVisible(false);
    return slot;
  }
}

}  // namespace

int SupervisorGate(Program& program) {
  return AskForPin(program, true);
}

int MainPinScreen(Program& program) {
  const int slot = AskForPin(program, false);
  program.frame.loggedInSlot = slot;
  if (slot != 0) program.frame.loggedInName = program.store.associates.names[slot];
  return slot;
}

}  // namespace shiftlog
