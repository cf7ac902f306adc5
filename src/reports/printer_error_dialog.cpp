#include <algorithm>
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
  const ScreenPen pen = ScreenPen::Of(screen);
  std::array<std::array<Cell, kWidth>, kBottom - kTop + 1> saved{};
  for (int r = kTop; r <= kBottom; ++r) {
    for (int c = 0; c < kWidth; ++c) {
      saved[r - kTop][c] = Cell{screen.CellCharacter(r, kLeft + c), screen.CellAttribute(r, kLeft + c)};
    }
  }

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

  for (int r = kTop; r <= kBottom; ++r) {
    for (int c = 0; c < kWidth; ++c) {
      const Cell& cell = saved[r - kTop][c];
      screen.SetColour((cell.attribute & 15) + ((cell.attribute & 0x80) != 0 ? 16 : 0),
                       (cell.attribute >> 4) & 7);
      screen.Locate(r, kLeft + c);
      screen.PrintText(std::string(1, static_cast<char>(cell.character)));
    }
  }
  pen.GiveBack(screen);
  return key;
}

}  // namespace shiftlog
