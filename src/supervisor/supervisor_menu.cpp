#include "supervisor/supervisor_menu.h"

#include <string>
#include <vector>

#include "console/boxes.h"
#include "console/menu_chooser.h"
#include "console/wait_key.h"

namespace shiftlog {

namespace {

const std::vector<std::string> kItems = {
    "1. Correct time punch", "2. View time cards",        "3. Associates", "4. Transmit time cards",
    "5. Delete time cards",  "6. Store # / Time display", "7. Quit",
};

}  // namespace

int SupervisorMenu(Program& program) {
  Console& console = program.console;
  Screen& screen = console.screen;
  console.SetColours(15, 7, Console::kMonoFG, 0);
  screen.ClearScreen();
  screen.SetForeground(15);  // a white frame on a monochrome display too
  Window(console, 28, 2, 29, 17, 1);
  screen.Locate(3, 34);
  screen.PrintText("Supervisor menu");
  Window(console, 6, 20, 70, 4, 4);  // the notes are white on red
  screen.Locate(21, 9);
  screen.PrintText("   New employees added after a time card file has been created");
  screen.Locate(22, 9);
  screen.PrintText("must be manually added to the time card file using option #3.");

  int choice = kCorrectTimePunch;
  for (;;) {
    int key = 0;
    MenuChooser(console, 3, 29, static_cast<int>(kItems.size()), kItems, 2, choice, key);
    if (choice == kMenuCancelled) return kQuitSupervisor;
    if (key == kKeyEnter) return choice;
    // [TAB] and the function keys end the chooser too; here they choose nothing, and the bar
    // waits again where it was.
  }
}

}  // namespace shiftlog
