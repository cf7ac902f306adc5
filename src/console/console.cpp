#include "console/console.h"

namespace shiftlog {

void Console::SetColours(int colourFg, int colourBg, int monoFg, int monoBg) {
  if (Colour()) {
    screen.SetColour(colourFg, colourBg);
  } else {
    screen.SetColour(monoFg == kMonoFG ? monoForeground : monoFg, monoBg == kMonoFG ? monoForeground : monoBg);
  }
}

}  // namespace shiftlog
