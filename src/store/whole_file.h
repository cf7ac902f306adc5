// Making a file whole or not at all: the bytes go to a file beside the final name, reach the
// disk, and only then does the file appear under its name. A crash or a full disk on the way
// leaves no short file behind for other stations to go on using.
#pragma once

#include <filesystem>
#include <string_view>

#include "host/run_time_errors.h"

namespace shiftlog {

// Creates target with bytes unless a file of that name exists already, which is left as it
// is (alreadyThere tells). Nothing is left under the final name when the bytes cannot all be
// written.
Status CreateFileWhole(const std::filesystem::path& target, std::string_view bytes, bool& alreadyThere);

}  // namespace shiftlog
