// DOS paths from the suite's files ("F:\STORE\", "SHOP1\20121215.CLK", "\TIMING.DAT") turned
// into host paths, in this one place. Backslashes separate folders; a drive letter stands for
// the folder the host maps it to; a path without a drive starts in the current folder, or at
// the root of drive C: when it begins with a backslash. Existing files and folders are found
// whatever the case of their names, since the suite writes upper-case names.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "host/host.h"

namespace shiftlog {

// Nothing when the path names a drive that is not ready (an unmapped letter) or holds a byte
// no host file name can hold (a zero byte).
std::optional<std::filesystem::path> ResolveDosPath(Host& host, std::string_view dosPath);

// The existing entry of folder whose name equals name ignoring the case of ASCII letters: the
// exact name first, else the first such name in byte order, so the choice does not depend on
// the order the folder lists its entries. The name as given when there is none.
std::filesystem::path FindEntryIgnoringCase(const std::filesystem::path& folder, std::string_view name);

// Whether two names are equal ignoring the case of ASCII letters (code page 437 letters above
// 127 are left alone: the suite never writes them in file names).
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// The DOS form of a host folder: "C:\" and the folders below the folder drive C: stands for,
// separated by backslashes ("C:\SRV\STORE"). A folder outside drive C: gives "C:\".
std::string DosFormOf(Host& host, const std::filesystem::path& folder);

}  // namespace shiftlog
