// A frame of the screen model as an SVG picture, for the pictures of the screens in the
// documentation: every cell in its colours after the palette (blinking text shown steady), the
// code page 437 glyphs as text in a monospace font, the line and block characters drawn as
// shapes so that frames join whatever font the viewer has, and the cursor where it is shown.
// Cells of one colour are merged into runs, so a screen comes to a few kilobytes.
#pragma once

#include <string>

#include "console/screen.h"

namespace shiftlog {

// The size of one cell in the picture, in pixels.
inline constexpr int kPictureCellWidth = 10;
inline constexpr int kPictureCellHeight = 20;

// The picture of the frame: 800 x 500 pixels, the same bytes for the same frame.
std::string FrameSvg(const Frame& frame);

}  // namespace shiftlog
