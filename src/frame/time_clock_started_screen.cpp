#include "frame/time_clock_started_screen.h"

#include "console/boxes.h"
#include "console/wait_key.h"
#include "frame/hand_over.h"

namespace shiftlog {

namespace {

void Draw(Console& console) {
  Screen& screen = console.screen;
  console.SetColours(15, 1, Console::kMonoFG, 0);
  screen.ClearScreen();
  console.SetColours(15, 3, Console::kMonoFG, 0);
  Window(console, 22, 10, 37, 5, 3);
  screen.Locate(11, 26, false);
  screen.PrintText("The time clock has started.");
  screen.Locate(13, 26, false);
  screen.PrintText("[ESC] = Back to the register");
}

}  // namespace

void TimeClockStartedScreen(Program& program) {
  Console& console = program.console;
  Draw(console);
  for (;;) {
    WaitKey(console, true, 0, 0, "");
    if (console.keyCode == kKeyEscape) {
      ReturnToRegister(program);
      Draw(console);  // the cash-register program could not be started and the user went on
    } else {
      console.Beep();
    }
  }
}

}  // namespace shiftlog
