// Turns frames of the screen model into the bytes a terminal needs to show them: only the
// cells that changed, the PC colours (after the palette mapping) in the terminal's own colour
// numbers, blinking, the cursor, and code page 437 glyphs as UTF-8 or ASCII stand-ins.
// Nothing here touches a device, so every byte can be checked in tests.
#pragma once

#include <cstdint>
#include <string>

#include "console/screen.h"

namespace shiftlog {

enum class ColourLevel {
  kEight,      // 30-37 / 40-47 only: bright foregrounds as bold, bright backgrounds lost
  kSixteen,    // adds 90-97 / 100-107
  k256,        // EGA colours outside the 16 PC colours use the 256-colour cube
  kTrueColour  // ... or their exact red, green and blue
};

enum class CursorShapeControl {
  kNone,      // the terminal's cursor shape is left alone
  kDecscusr,  // CSI n SP q (xterm, tmux, screen, rxvt, VTE)
  kLinux,     // CSI ? n c (the Linux console)
};

struct RenderOptions {
  ColourLevel colours = ColourLevel::kSixteen;
  bool utf8 = true;
  CursorShapeControl cursorShape = CursorShapeControl::kDecscusr;
};

struct Rgb {
  std::uint8_t red, green, blue;
  bool operator==(const Rgb&) const = default;
};

// An EGA colour number (0-63, bits rgbRGB: the upper three add a third of full intensity,
// the lower three two thirds) as red, green and blue.
Rgb EgaToRgb(int egaColour);

// The PC text colour (0-15) nearest to an EGA colour; exact for the 16 default ones.
int NearestPcColour(int egaColour);

// PC colour order (blue before red) to ANSI order (red before blue), bright bit kept.
int PcToAnsiColour(int pcColour);

// The bytes that turn a terminal showing `previous` into one showing `next`. With previous
// null the terminal's contents are unknown (first frame, after a resize or a stop), and the
// whole screen is cleared and drawn. The terminal's colours and cursor position are never
// assumed from an earlier call, so the output is right whatever happened in between.
std::string RenderFrame(const Frame* previous, const Frame& next, const RenderOptions& options);

// A cleared terminal of rows x columns asking to be made at least 80 x 25, centred.
std::string RenderEnlargeRequest(int rows, int columns);

// The bytes that put a terminal's colours, cursor and cursor shape back as the user had them.
std::string RenderResetAttributes(const RenderOptions& options);

}  // namespace shiftlog
