// The console every screen draws on and reads keys from: the screen model, the terminal that
// shows it, the clock the key wait displays, and the console state shared by all screens.
#pragma once

#include <string>

#include "console/screen.h"
#include "console/terminal.h"
#include "host/clock.h"

namespace shiftlog {

inline constexpr int kMonochrome = 0;
inline constexpr int kColourDisplay = 1;

class Console {
 public:
  Console(Terminal& terminal, Clock& clock) : terminal_(terminal), clock_(clock) {}

  Screen screen;

  int displayMode = kColourDisplay;  // 1 colour, 0 monochrome
  int monoForeground = 7;            // 7, or 15 in bright monochrome
  int noGraphics = 0;                // 1 when page 1 cannot be used: the calculator stays shut
  KeyText keyText;                   // the last key read by the key wait
  int keyCode = 0;                   // the number the key wait derived from it

  bool Colour() const { return displayMode != kMonochrome; }

  // Sets one pair of colours on a colour display and another on a monochrome one; a
  // monochrome foreground of kMonoFG stands for the monochrome foreground in force.
  static constexpr int kMonoFG = -1;
  void SetColours(int colourFg, int colourBg, int monoFg, int monoBg);

  // The warning beep for every refused key or value.
  void Beep() { terminal_.Beep(); }

  // Shows the model on the terminal; called when the program waits for a key.
  void Present() { terminal_.Present(screen.CurrentFrame()); }

  Terminal& terminal() { return terminal_; }
  Clock& clock() { return clock_; }

 private:
  Terminal& terminal_;
  Clock& clock_;
};

}  // namespace shiftlog
