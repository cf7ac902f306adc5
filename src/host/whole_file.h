// Files written whole or not at all: the bytes go to a temporary file beside the target,
// which then takes the target's name in one step. A reader (or the cash-register program)
// sees the old file or the new one, never half of one.
#pragma once

#include <filesystem>
#include <string_view>

#include "host/run_time_errors.h"

namespace shiftlog {

// Replaces (or creates) path with bytes. On failure the old file is left as it was and no
// temporary file stays behind.
Status WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace shiftlog
