#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "console/boxes.h"
#include "console/menu_chooser.h"
#include "console/wait_key.h"
#include "reports/printer_error_screens.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

constexpr int kErrorPage = 3;

constexpr std::array<const char*, 9> kPossibleCauses = {
    "You don't have a printer. (Oh? Are you sure?)",
    "Printer is turned off.",
    "Printer is off line (not selected).",
    "Printer is unplugged.",
    "Printer is out of paper.",
    "Cable to printer not properly connected.",
    "Print data being sent to wrong comm. port.",
    "Quick printer error trap is bad.",
    "Unknown.",
};

// A panel of blanks in foreground 15 on its background; on a colour display with a black
// shadow two columns wide on its right (from its second row) and one row deep below it
// (from its third column). Monochrome: the monochrome foreground on 0, no shadow.
void Panel(Console& console, int column, int row, int width, int height, int background) {
  Screen& screen = console.screen;
  const std::string blanks(static_cast<size_t>(width), ' ');
  for (int r = row; r < row + height; ++r) {
    console.SetColours(15, background, Console::kMonoFG, 0);
    PrintAt(screen, r, column, blanks);
    if (console.Colour() && r > row) {
      screen.SetColour(15, 0);
      PrintAt(screen, r, column + width, "  ");
    }
  }
  if (console.Colour()) {
    screen.SetColour(15, 0);
    PrintAt(screen, row + height, column + 2, blanks);
  }
  console.SetColours(15, background, Console::kMonoFG, 0);
}

}  // namespace

int PrinterErrorScreen(Console& console, int statusByte, int quickTrap) {
  Screen& screen = console.screen;
  const ScreenPen pen = ScreenPen::Of(screen);

  // Drawn out of sight on page 3 while page 0 stays shown.
  screen.CopyPage(0, kErrorPage);
  screen.SelectPages(kErrorPage, 0);

  Panel(console, 13, 2, 54, 14, 4);
  Box(console, 14, 2, 52, 14);
  console.SetColours(31, 4, Console::kMonoFG, 0);
  PrintAt(screen, 3, 33, "PRINTER  ERROR! ");
  console.SetColours(15, 4, Console::kMonoFG, 0);
  PrintAt(screen, 3, 60, NumberText(statusByte) + " ");
  PrintAt(screen, 5, 33, "Possible causes");
  for (int n = 1; n <= 9; ++n) {
    PrintAt(screen, 5 + n, 16, std::to_string(n) + ". " + kPossibleCauses[static_cast<size_t>(n - 1)]);
  }

  Panel(console, 11, 18, 58, 6, 1);
  Box(console, 12, 18, 56, 6);
  PrintAt(screen, 19, 34, "Choose......");

  screen.SelectPages(kErrorPage, kErrorPage);
  console.Beep();
  const std::vector<std::string> items = {
      "1. Problem is fixed, resume printing.",
      "2. Problem unknown or insurmountable, end printing.",
      quickTrap == 1 ? "3. Turn off quick printer error trap." : "3. Turn on quick printer error trap.",
  };
  int choice = 1;
  int key = 0;
  for (;;) {
    const int before = choice;
    MenuChooser(console, 19, 14, 3, items, 1, choice, key);
    if (key == kKeyEnter && choice >= 1 && choice <= 3) break;
    // Nothing but [ENTER] closes this screen: the printer's trouble needs an answer. After
    // [ESC] the bar comes back on the item it was on.
    if (choice == kMenuCancelled) choice = before;
  }

  screen.SelectPages(0, 0);
  pen.GiveBack(screen);
  return choice;
}

}  // namespace shiftlog
