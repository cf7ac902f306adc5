#include "host/real_host.h"

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include "host/dos_paths.h"

namespace shiftlog {

namespace fs = std::filesystem;

namespace {

bool IsExecutableFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

RealHost::RealHost() {
  std::error_code ec;
  currentFolder_ = fs::current_path(ec);
  if (ec) currentFolder_ = ".";
}

std::optional<fs::path> RealHost::DriveFolder(char letter) {
  if (letter == 'C') return fs::path("/");
  if (letter < 'A' || letter > 'P') return std::nullopt;
  const fs::path drives = FindEntryIgnoringCase(currentFolder_, "DRIVES");
  const fs::path entry = FindEntryIgnoringCase(drives, std::string(1, letter));
  std::error_code ec;
  if (!fs::is_directory(entry, ec)) return std::nullopt;
  return entry;
}

std::optional<fs::path> RealHost::FindCashRegister() {
  for (const char* name : {"TIL", "TIL.EXE"}) {
    const fs::path found = FindEntryIgnoringCase(currentFolder_, name);
    if (IsExecutableFile(found)) return found;
  }
  const char* path = std::getenv("PATH");
  if (path == nullptr) return std::nullopt;
  std::string_view rest = path;
  while (!rest.empty()) {
    const size_t cut = rest.find(':');
    const std::string_view folder = rest.substr(0, cut);
    rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);
    // An empty PATH entry would mean the working folder, which was searched above already.
    if (folder.empty()) continue;
    for (const char* name : {"TIL", "til"}) {
      const fs::path candidate = fs::path(std::string(folder)) / name;
      if (IsExecutableFile(candidate)) return candidate;
    }
  }
  return std::nullopt;
}

void RealHost::StartCashRegister() {
  const std::optional<fs::path> program = FindCashRegister();
  if (!program) return;
  if (beforeStart) beforeStart();
  std::string name = program->string();
  std::vector<char*> arguments{name.data(), nullptr};
  ::execv(name.c_str(), arguments.data());
  // Still here: the file could not be run after all.
  if (afterFailedStart) afterFailedStart();
}

}  // namespace shiftlog
