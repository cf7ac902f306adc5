// The two-column grid of the 56 associate slots, 28 to a page, that the card choice and the
// associate editor show, and the cursor with which both walk it.
#pragma once

#include "console/console.h"
#include "store/associates.h"

namespace shiftlog {

inline constexpr int kGridRows = 14;      // slots per grid column
inline constexpr int kSlotsPerPage = 28;  // page offsets are 0 and 28

// Rows 4 to 20 in the current colours: the headings, the frame, and for each slot of the page
// starting after pageOffset its number, "*" for a supervisor, its name and its ID#.
void AssociateGrid(Console& console, const AssociateList& associates, int pageOffset);

// Where the bar (or the field being edited) stands on the grid.
struct GridCursor {
  int row = 1;         // 1 to 14
  int column = 1;      // 1 left, 2 right
  int pageOffset = 0;  // 0 or 28

  int Slot() const { return row + kGridRows * (column - 1) + pageOffset; }
  int ScreenRow() const { return row + 5; }
  int MarkColumn() const { return 40 * column - 35; }
  int NameColumn() const { return 40 * column - 33; }
  int IdColumn() const { return 40 * column - 8; }

  // One row up (step -1) or down (+1). Past the top or bottom row the cursor goes on in the
  // other column, turning the page where the slots do, so it walks slots 1 to 56 in order and
  // wraps at both ends. Returns true when the page turned: the grid is then to be drawn again.
  bool Move(int step);
  void FlipPage() { pageOffset = pageOffset == 0 ? kSlotsPerPage : 0; }
};

}  // namespace shiftlog
