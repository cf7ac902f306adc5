// Making a file whole or not at all: the bytes go to a file beside the final name, reach the
// disk, and only then does the file appear under its name. A crash or a full disk on the way
// leaves no short file behind for other stations to go on using, and the temporary files such
// an interruption leaves are swept by a later creation in the same folder.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "host/run_time_errors.h"

namespace shiftlog {

// The ending of the temporary name a creation by process pid on this machine writes beside its
// target: ".<machine>.<pid>.new". The machine's name is in it because stations on several
// machines may share one folder, and a process number says something only on its own machine.
std::string TemporaryNameEnding(long pid);

// Removes the temporary files that interrupted creations (a station killed, or switched off, in
// the middle) left in folder, so they never pile up. A temporary file goes when the process
// named in it is gone from this machine, or when it has not changed for kStaleTemporaryAge
// (one of another machine, or of a process number in use again). The file of a creation still
// running is never removed: its process lives, and it writes a few kilobytes in well under a
// second. Other files are never touched. Gives the number removed.
inline constexpr int kStaleTemporaryAgeSeconds = 15 * 60;
int SweepStaleTemporaries(const std::filesystem::path& folder);

// Creates target with bytes unless a file of that name exists already, which is left as it
// is (alreadyThere tells). Nothing is left under the final name when the bytes cannot all be
// written.
Status CreateFileWhole(const std::filesystem::path& target, std::string_view bytes, bool& alreadyThere);

}  // namespace shiftlog
