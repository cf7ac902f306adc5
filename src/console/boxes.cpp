#include "console/boxes.h"

#include <string>

#include "console/box_characters.h"

namespace shiftlog {

using namespace cp437;

void Box(Console& console, int column, int row, int width, int height) {
  Screen& screen = console.screen;
  if (!console.Colour()) {
    for (int r = row + 1; r <= row + height - 2; ++r) {
      screen.Locate(r, column);
      screen.PrintText(std::string(static_cast<size_t>(width), ' '));
    }
  }
  screen.ResetTextWindow();
  const std::string line(static_cast<size_t>(width - 2), kDoubleHorizontal);
  screen.Locate(row, column);
  screen.PrintText(kDoubleTopLeft + line + kDoubleTopRight);
  for (int r = row + 1; r <= row + height - 2; ++r) {
    screen.Locate(r, column);
    screen.PrintText(std::string(1, kDoubleVertical));
  }
  screen.Locate(row + height - 1, column);
  screen.PrintText(kDoubleBottomLeft + line + kDoubleBottomRight);
  for (int r = row + 1; r <= row + height - 2; ++r) {
    screen.Locate(r, column + width - 1);
    screen.PrintText(std::string(1, kDoubleVertical));
  }
}

void ShadowPanel(Console& console, int column, int row, int width, int height, int background) {
  Screen& screen = console.screen;
  const std::string blanks(static_cast<size_t>(width), ' ');
  screen.ResetTextWindow();
  screen.Locate(row, column);
  screen.SetBackground(background);
  screen.PrintText(blanks);
  screen.SetColour(8, 7);
  screen.Locate(row, column + width);
  screen.PrintText(std::string(1, kLowerHalfBlock));
  for (int i = 2; i <= height; ++i) {
    screen.Locate(row + i - 1, column);
    screen.SetBackground(background);
    screen.PrintText(blanks + kFullBlock);
  }
  screen.SetBackground(7);
  screen.Locate(row + height, column + 1);
  screen.PrintText(std::string(static_cast<size_t>(width), kUpperHalfBlock));
  screen.SetBackground(background);
  screen.Locate(row, column);
}

void Window(Console& console, int column, int row, int width, int height, int background) {
  if (console.Colour()) {
    ShadowPanel(console, column - 1, row, width + 2, height, background);
    console.screen.SetForeground(15);
  }
  Box(console, column, row, width, height);
}

}  // namespace shiftlog
