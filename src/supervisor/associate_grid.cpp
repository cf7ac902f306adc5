#include "supervisor/associate_grid.h"

#include <string>
#include <string_view>

#include "console/box_characters.h"
#include "text/text_fields.h"

namespace shiftlog {

using namespace cp437;

namespace {

constexpr std::string_view kHeadings =
    "    *    EMPLOYEE NAME         EMP ID#      *    EMPLOYEE NAME         EMP ID#";

// The top or bottom frame line: one 40-column cell per half, its pieces at the cell's lines.
std::string FrameLine(char left, char tee, char right) {
  std::string line;
  for (int half = 0; half < 2; ++half) {
    line += half == 0 ? left : tee;
    line += std::string(2, kSingleHorizontal) + tee + kSingleHorizontal + tee;
    line += std::string(24, kSingleHorizontal) + tee + std::string(8, kSingleHorizontal);
    line += half == 0 ? tee : right;
  }
  return line;
}

}  // namespace

void AssociateGrid(Console& console, const AssociateList& associates, int pageOffset) {
  Screen& screen = console.screen;
  screen.Locate(4, 1);
  screen.PrintText(kHeadings);
  screen.Locate(5, 1);
  screen.PrintText(FrameLine(kSingleTopLeft, kSingleTeeDown, kSingleTopRight));
  const std::string bar(1, kSingleVertical);
  for (int half = 0; half < 2; ++half) {
    for (int row = 1; row <= kGridRows; ++row) {
      const int slot = row + kGridRows * half + pageOffset;
      if (slot < 1 || slot > kSlotCount) continue;
      const size_t at = static_cast<size_t>(slot);
      const char mark = associates.supervisor[at] != 0 ? '*' : ' ';
      screen.Locate(row + 5, 40 * half + 1);
      screen.PrintText(bar + NumberField(slot, 2) + bar + mark + bar + TextField(associates.names[at], 24) +
                       bar + TextField(associates.ids[at], 8) + bar);
    }
  }
  screen.Locate(20, 1);
  screen.PrintText(FrameLine(kSingleBottomLeft, kSingleTeeUp, kSingleBottomRight));
}

bool GridCursor::Move(int step) {
  row += step < 0 ? -1 : 1;
  if (row < 1) {
    row = kGridRows;
    column = 3 - column;
    if (column == 2) {
      FlipPage();
      return true;
    }
  } else if (row > kGridRows) {
    row = 1;
    column = 3 - column;
    if (column == 1) {
      FlipPage();
      return true;
    }
  }
  return false;
}

}  // namespace shiftlog
