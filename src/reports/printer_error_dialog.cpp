#include <array>
#include <string>

#include "console/boxes.h"
#include "console/wait_key.h"
#include "reports/printer_error_screens.h"

namespace shiftlog {

namespace {

constexpr int kTop = 9;
constexpr int kBottom = 14;
constexpr int kLeft = 30;
constexpr int kWidth = 20;

}  // namespace

int PrinterErrorDialog(Console& console) {
  Screen& screen = console.screen;
  // The dialog covers rows 9 to 14; the screen under it comes back whole, with the position,
  // colours and cursor.
  const Screen saved = screen;
  console.SetColours(15, 2, 0, 7);
  for (int r = kTop; r <= kBottom; ++r) {
    screen.Locate(r, kLeft);
    screen.PrintText(std::string(kWidth, ' '));
  }
  Box(console, 31, 9, 18, 6);
  const std::array<const char*, 4> lines = {" PRINTER ERROR  ", "1. Try again.   ", "2. Cancel print.",
                                            "3. Error off.   "};
  for (size_t i = 0; i < lines.size(); ++i) {
    screen.Locate(10 + static_cast<int>(i), 32);
    screen.PrintText(lines[i]);
  }
  console.Beep();
  WaitKey(console, false, 0, 0, "");
  const int key = console.keyCode;

  screen = saved;
  return key;
}

}  // namespace shiftlog
