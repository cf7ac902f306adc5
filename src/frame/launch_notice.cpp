#include "frame/launch_notice.h"

#include "console/boxes.h"
#include "console/wait_key.h"

namespace shiftlog {

void ShowLaunchNotice(Program& program) {
  Console& console = program.console;
  Screen& screen = console.screen;
  if (console.Colour()) {
    screen.SetBackground(7);
    screen.ClearScreen();
    ShadowPanel(console, 2, 10, 77, 6, 4);
  } else {
    screen.SetColour(7, 0);
    screen.ClearScreen();
  }
  Box(console, 3, 10, 75, 6);
  screen.SetForeground(15);
  static constexpr const char* kLines[] = {
      "   This program cannot be run directly, it can only be called from one",
      "of the other programs TIL.EXE. If TIL.EXE cannot run SHIFTLOG.EXE that",
      "means that you have not properly 'unzipped' or 'extracted' the files",
      "from TIL.ZIP but instead you have only opened the TIL.ZIP file.",
  };
  for (int i = 0; i < 4; ++i) {
    screen.Locate(11 + i, 5);
    screen.PrintText(kLines[i]);
  }
  WaitKey(console, false, 0, 0, "");

  // The end of the program, as the suite's run-time ends one: the prompt on the last row of
  // the screen as it stands, then one more key.
  console.SetColours(0, 7, 7, 0);
  screen.Locate(25, 1);
  screen.PrintText("Press any key to continue");
  WaitKey(console, false, 0, 0, "");
}

}  // namespace shiftlog
