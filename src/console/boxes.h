// Windows on the text screen: the double-line frame and, on colour displays, the filled panel
// with its drop shadow. Rectangles are given as column, row, width, height.
#pragma once

#include "console/console.h"

namespace shiftlog {

// The double-line frame in the current colours. On a monochrome display its inside is blanked
// first; on a colour display only the lines are drawn.
void Box(Console& console, int column, int row, int width, int height);

// Blanks on the given background with a dark-grey shadow one column right and half a row
// below. Leaves foreground 8 on that background at (row, column): callers set foreground 15.
void ShadowPanel(Console& console, int column, int row, int width, int height, int background);

// The usual window: a panel one column wider on each side (colour only), then the frame, then
// foreground 15 (colour) for the texts inside.
void Window(Console& console, int column, int row, int width, int height, int background);

}  // namespace shiftlog
