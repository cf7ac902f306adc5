#include "store/card_files.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

#include "host/dos_paths.h"
#include "store/data_files.h"
#include "store/time_card_file.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace fs = std::filesystem;

namespace {

bool EightDigits(std::string_view text) {
  return text.size() == 8 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool IsCardFileName(std::string_view name) {
  return name.size() == 12 && EightDigits(name.substr(0, 8)) &&
         SameNameIgnoringCase(name.substr(8), kCardExtension);
}

std::vector<std::string> ListCardFiles(StoreContext& store) {
  std::vector<std::string> names;
  const std::optional<fs::path> folder = ResolveDosPath(store.host, store.dataPath + store.configName);
  if (!folder) return names;
  // Every step may fail (no folder, no permission, an entry gone while we look): what could
  // not be read is simply not listed.
  std::error_code ec;
  for (fs::directory_iterator it(*folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!IsCardFileName(name)) continue;
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    names.push_back(UpperCase(name));
  }
  std::sort(names.begin(), names.end());
  // 20121215.CLK and 20121215.clk are one week to the suite.
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

Status DeleteCardFile(StoreContext& store, std::string_view fileName) {
  if (!EightDigits(fileName)) return Status::Failed(kBadFileName);
  CardFolderScope cardFolder(store);
  DataFile file;
  const Status opened =
      OpenDataFile(store, file, kCardRecordLength, FileMode::kUpdate, kCardExtension, fileName);
  if (!opened) return opened;
  Status removed;
  if (::unlink(file.path.c_str()) != 0) removed = Status::Failed(RunTimeErrorFromErrno(errno));
  // The name is gone (or not) whatever the close says; the close only lets go of the lock.
  CloseDataFile(store, file);
  return removed;
}

}  // namespace shiftlog
