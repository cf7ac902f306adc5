#include "host/dos_paths.h"

#include <string>
#include <system_error>

namespace shiftlog {

namespace fs = std::filesystem;

namespace {

char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

fs::path FindEntryIgnoringCase(const fs::path& folder, std::string_view name) {
  std::error_code ec;
  const fs::path exact = folder / std::string(name);
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  std::string best;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    if (SameNameIgnoringCase(entry, name) && (best.empty() || entry < best)) best = entry;
  }
  return best.empty() ? exact : folder / best;
}

std::optional<fs::path> ResolveDosPath(Host& host, std::string_view dosPath) {
  if (dosPath.find('\0') != std::string_view::npos) return std::nullopt;
  std::string_view rest = dosPath;
  fs::path base = host.CurrentFolder();
  bool fromRoot = false;
  bool anchored = false;  // starts at a drive's top folder, which ".." never leaves
  if (rest.size() >= 2 && rest[1] == ':') {
    const char letter = AsciiUpper(rest[0]);
    if (letter < 'A' || letter > 'Z') return std::nullopt;
    std::optional<fs::path> drive = host.DriveFolder(letter);
    if (!drive) return std::nullopt;
    base = *drive;
    fromRoot = true;  // "F:NAME" is taken from the drive's root: the suite keeps no per-drive folders
    anchored = true;
    rest.remove_prefix(2);
  }
  if (!rest.empty() && (rest[0] == '\\' || rest[0] == '/')) {
    if (!fromRoot) {
      std::optional<fs::path> drive = host.DriveFolder('C');
      if (!drive) return std::nullopt;
      base = *drive;
    }
    rest.remove_prefix(1);
    anchored = true;
  }
  fs::path resolved = base;
  int depth = 0;  // folders gone down below base
  while (!rest.empty()) {
    const size_t cut = rest.find_first_of("\\/");
    const std::string_view part = rest.substr(0, cut);
    rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      // On the suite's PCs ".." at the top of a drive stays there; here it must not climb out
      // of the folder a drive letter stands for.
      if (depth > 0 || !anchored) resolved = resolved.parent_path();
      if (depth > 0) --depth;
      continue;
    }
    resolved = FindEntryIgnoringCase(resolved, part);
    ++depth;
  }
  return resolved;
}

std::string DosFormOf(Host& host, const fs::path& folder) {
  std::string form = "C:\\";
  const std::optional<fs::path> drive = host.DriveFolder('C');
  if (!drive) return form;
  const fs::path root = drive->lexically_normal();
  const fs::path relative = folder.lexically_normal().lexically_relative(root);
  if (relative.empty() || *relative.begin() == "..") return form;
  bool first = true;
  for (const fs::path& part : relative) {
    const std::string name = part.string();
    if (name.empty() || name == ".") continue;
    if (!first) form += '\\';
    form += name;
    first = false;
  }
  return form;
}

}  // namespace shiftlog
