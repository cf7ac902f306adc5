// DOS paths as the suite's files may hold them, resolved through the drive mapping (C: the
// host folder of drive C:, F: a mapped folder, other letters not ready). A path that starts
// at a drive's top folder never leads out of the folder that drive stands for; only an unmapped
// drive is not ready; the DOS form of any result starts at drive C:.
#include <filesystem>
#include <string>

#include "fuzz_input.h"
#include "fuzz_store.h"
#include "fuzz_targets.h"
#include "host/dos_paths.h"
#include "store/lock_file.h"

namespace shiftlog::fuzz {

namespace {

namespace fs = std::filesystem;

bool Inside(const fs::path& path, const fs::path& folder) {
  const fs::path relative = path.lexically_normal().lexically_relative(folder.lexically_normal());
  return !relative.empty() && *relative.begin() != "..";
}

// A few folders and files of mixed case for the resolution to find.
void MakeTree(FuzzHost& host) {
  for (const fs::path& folder : {host.root / "DATA" / "SHOP1", host.root / "data2",
                                 host.drive / "Store" / "SEND", host.store / "SHOP1"}) {
    fs::create_directories(folder);
  }
  WriteFile(host.root / "TIMING.DAT", "1\r\n");
  WriteFile(host.root / "DATA" / "shop1.til", "");
  WriteFile(host.drive / "Store" / "20121215.clk", "");
}

}  // namespace

void FuzzDosPath(std::string_view bytes) {
  FuzzInput input(bytes);
  const std::uint8_t setup = input.Byte();
  const std::string path(input.Rest());
  FuzzStore& store = FuzzStore::Fresh();
  FuzzHost& host = store.host;
  if (setup & 1) MakeTree(host);

  const std::optional<fs::path> resolved = ResolveDosPath(host, path);
  if (path.find('\0') != std::string::npos) FuzzCheck(!resolved, "a zero byte names no file");
  if (resolved) {
    const bool drive = path.size() >= 2 && path[1] == ':';
    const char letter = drive ? static_cast<char>(path[0] & ~0x20) : 'C';
    const bool anchored = drive || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
    if (anchored) {
      const fs::path top = letter == 'F' ? host.drive : host.root;
      FuzzCheck(*resolved == top || Inside(*resolved, top), "a drive's path stays in its folder");
    }
    const std::string form = DosFormOf(host, *resolved);
    FuzzCheck(form.rfind("C:\\", 0) == 0, "a DOS form starts at drive C:");
    FuzzCheck(form.find('/') == std::string::npos, "a DOS form separates folders with backslashes");
  } else if (path.find('\0') == std::string::npos) {
    const bool drive = path.size() >= 2 && path[1] == ':';
    const char letter = drive ? static_cast<char>(path[0] & ~0x20) : 'C';
    FuzzCheck(drive && letter != 'C' && letter != 'F', "only an unmapped drive is not ready");
  }

  // The lock file beside a file of that name, as the store names it: "_", at most 7
  // characters of the name, the extension.
  const std::string lock = LockFileName(path, ".CLK");
  FuzzCheck(lock[0] == '_' && lock.size() <= 12 && lock.substr(lock.size() - 4) == ".CLK",
            "a lock file's name is _ + 7 characters + the extension");
}

}  // namespace shiftlog::fuzz
