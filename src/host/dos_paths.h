// DOS paths from the suite's files ("F:\STORE\", "SHOP1\20121215.CLK", "\TIMING.DAT") turned
// into host paths, in this one place. Backslashes separate folders; a drive letter stands for
// the folder the host maps it to; a path without a drive starts in the current folder, or at
// the current drive's root when it begins with a backslash. Existing files and folders are
// found whatever the case of their names, since the suite writes upper-case names.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "host/host.h"

namespace shiftlog {

// Nothing when the path names a drive that is not ready (an unmapped letter).
std::optional<std::filesystem::path> ResolveDosPath(Host& host, std::string_view dosPath);

// The existing entry of folder whose name equals name ignoring case (the exact name first);
// the name as given when there is none.
std::filesystem::path FindEntryIgnoringCase(const std::filesystem::path& folder, std::string_view name);

}  // namespace shiftlog
