// The card file chooser: the stored weeks' card files in a scrolling list, newest last, for
// the supervisor tools that work on a whole week, and the deletion of old card files.
#pragma once

#include <string>

#include "frame/program.h"
#include "store/weeks.h"  // CardNameDateText, the date text of a chosen name

namespace shiftlog {

// What the chooser is for, by the supervisor menu's item numbers.
enum CardFileMode {
  kModifyCardFile = 1,    // only the last two files may be chosen
  kViewCardFile = 2,      // any file
  kTransmitCardFile = 4,  // any file
  kDeleteCardFile = 5,    // [DELETE] deletes; only [ESC] leaves
};

// The list holds the newest this many card files; older ones stay on disk, unlisted.
inline constexpr int kMaxListedCardFiles = 525;

// Runs the chooser. chosenName becomes the chosen entry ("20121215.CLK"), or empty for [ESC]
// (and always in delete mode); the program's date text becomes the chosen week's last day
// (mm-dd-yyyy), or empty for [ESC].
void ChooseCardFile(Program& program, std::string& chosenName, int mode);

}  // namespace shiftlog
