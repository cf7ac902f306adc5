#include "host/dos_paths.h"

#include <strings.h>

#include <string>
#include <system_error>

namespace shiftlog {

namespace fs = std::filesystem;

fs::path FindEntryIgnoringCase(const fs::path& folder, std::string_view name) {
  std::error_code ec;
  const fs::path exact = folder / std::string(name);
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  const std::string wanted(name);
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    if (strcasecmp(entry.c_str(), wanted.c_str()) == 0) return it->path();
  }
  return exact;
}

std::optional<fs::path> ResolveDosPath(Host& host, std::string_view dosPath) {
  std::string_view rest = dosPath;
  fs::path base = host.CurrentFolder();
  bool fromRoot = false;
  if (rest.size() >= 2 && rest[1] == ':') {
    char letter = rest[0];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z') return std::nullopt;
    std::optional<fs::path> drive = host.DriveFolder(letter);
    if (!drive) return std::nullopt;
    base = *drive;
    fromRoot = true;  // "F:NAME" is taken from the drive's root: the suite keeps no per-drive folders
    rest.remove_prefix(2);
  }
  if (!rest.empty() && (rest[0] == '\\' || rest[0] == '/')) {
    if (!fromRoot) {
      std::optional<fs::path> drive = host.DriveFolder('C');
      if (!drive) return std::nullopt;
      base = *drive;
    }
    rest.remove_prefix(1);
  }
  fs::path resolved = base;
  while (!rest.empty()) {
    const size_t cut = rest.find_first_of("\\/");
    const std::string_view part = rest.substr(0, cut);
    rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      resolved = resolved.parent_path();
      continue;
    }
    resolved = FindEntryIgnoringCase(resolved, part);
  }
  return resolved;
}

}  // namespace shiftlog
