// Whether a drive letter can take a file, tested the way the suite tests a drive before it
// saves there: TEST.DAT is made in the drive's top folder and removed again.
#pragma once

#include <string_view>

#include "host/host.h"

namespace shiftlog {

// drive: "A:" to "P:". False for a letter without a folder, a folder that is gone, or one no
// file can be made in. A TEST.DAT that is already there is left alone: the drive is ready when
// its folder can be written.
bool DriveTakesFiles(Host& host, std::string_view drive);

}  // namespace shiftlog
