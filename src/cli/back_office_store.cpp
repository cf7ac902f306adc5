#include "cli/back_office_store.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <system_error>
#include <vector>

#include "cli/command_error.h"
#include "host/dos_paths.h"
#include "store/card_file_snapshot.h"
#include "store/lock_file.h"
#include "store/register_data.h"
#include "store/weeks.h"

namespace shiftlog {

namespace fs = std::filesystem;

namespace {


bool HasRegisterExtension(std::string_view name) {
  return name.size() > kRegisterExtension.size() &&
         SameNameIgnoringCase(name.substr(name.size() - kRegisterExtension.size()), kRegisterExtension);
}

// The lock file of a register data file ("_" + characters 2 to 8 of its name + ".TIL") is no
// register data file, though its name ends the same.
bool IsLockFile(const fs::path& path) {
  std::error_code ec;
  if (fs::file_size(path, ec) != kLockFileContent.size() || ec) return false;
  std::ifstream in(path, std::ios::binary);
  std::string bytes(kLockFileContent.size(), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return in && bytes == kLockFileContent;
}

fs::path StoreFolderOf(const std::string& folder) {
  std::error_code ec;
  fs::path path = folder.empty() ? fs::current_path(ec) : fs::absolute(fs::path(folder), ec);
  if (ec) throw StoreError("cannot find the store folder " + folder + ": " + ec.message());
  path = path.lexically_normal();
  if (!fs::is_directory(path, ec)) {
    const std::string why = fs::exists(path, ec) ? "not a folder" : "no such folder";
    throw StoreError("cannot read the store folder " + path.string() + ": " + why);
  }
  return path;
}

std::string ConfigNameOf(const StoreOptions& options, const fs::path& folder) {
  if (options.configName.empty()) return FindConfigName(folder);
  std::string name = options.configName;
  if (HasRegisterExtension(name)) name.resize(name.size() - kRegisterExtension.size());
  if (name.empty() || name.find_first_of(std::string_view("\\/:\0", 4)) != std::string::npos)
    throw UsageError("--config " + options.configName + ": a configuration name such as SHOP1, not a path");
  return name;
}

std::string Why(const Status& status) {
  return RunTimeErrorText(status.error);
}

}  // namespace

std::string FindConfigName(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    std::error_code typeError;
    if (!HasRegisterExtension(name) || !fs::is_regular_file(it->path(), typeError) || IsLockFile(it->path()))
      continue;
    names.push_back(name);
  }
  if (ec) throw StoreError("cannot read the store folder " + folder.string() + ": " + ec.message());
  if (names.empty())
    throw StoreError("no register data file (*.TIL) in " + folder.string() + "; is it the store's folder?");
  std::sort(names.begin(), names.end());
  if (names.size() > 1) {
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
    throw UsageError("several register data files in " + folder.string() + " (" + list +
                     "): name one with --config");
  }
  return names.front().substr(0, names.front().size() - kRegisterExtension.size());
}

BackOfficeStore::BackOfficeStore(const StoreOptions& options)
    : folder_(StoreFolderOf(options.folder)), host_(folder_), store_(host_) {
  store_.configName = ConfigNameOf(options, folder_);
  const std::string registerName = store_.configName + std::string(kRegisterExtension);
  const Status local = ReadLocalDataPath(store_);
  if (local.error == kFileNotFound)
    throw StoreError("no register data file " + registerName + " in " + folder_.string());
  if (!local)
    throw StoreError("cannot read the register data file " + HostPathText(registerName) + ": " + Why(local));

  const Status shared = LoadRegisterAssociates(store_);
  if (shared.error == kDiskNotReady && !store_.dataPath.empty()) {
    throw StoreError("the data path " + store_.dataPath + " of " + registerName +
                     " is on a drive that is not ready (a drive letter needs its link in " +
                     (folder_ / "DRIVES").string() + ")");
  }
  if (!shared) {
    throw StoreError("cannot read the register data file " + HostPathText(store_.dataPath + registerName) +
                     " in the data path: " + Why(shared));
  }
}

std::string BackOfficeStore::HostPathText(const std::string& dosName) {
  const std::optional<fs::path> path = ResolveDosPath(host_, dosName);
  if (!path) return dosName;
  // Where the drive's link leads, rather than the link itself.
  std::error_code ec;
  const fs::path real = fs::weakly_canonical(*path, ec);
  return ec ? path->string() : real.string();
}

std::string CardFileOfDate(const CalendarDate& date, int weekEnd) {
  const std::string dateText = SuiteDateText(date);
  return ComputeCardWeek(dateText, WeekPosition(dateText, weekEnd)).fileName;
}

PrinterSettings ReadPrinterSettings(BackOfficeStore& store) {
  PrinterSettings printer;
  const Status read = ReadStationPrinterSettings(store.Context(), printer);
  if (!read) {
    const std::string& name = store.Context().configName;
    throw StoreError("cannot read the printer settings in " + store.HostPathText(name + ".TIL") + " and " +
                     store.HostPathText(name + ".DAT") + ": " + Why(read));
  }
  return printer;
}

WeekCards ReadWeekCards(BackOfficeStore& store, const std::string& fileName) {
  StoreContext& context = store.Context();
  WeekCards week;
  week.fileName = fileName;
  // A card file is named after the last day of its week.
  const std::string lastDay = CardNameDateText(fileName);
  week.dates = ComputeCardWeek(lastDay, 6).dates;

  CardFileSnapshot snapshot;
  const std::string dosName = CardFileDosName(context, fileName);
  const Status read = ReadCardFileSnapshot(context, fileName, snapshot);
  if (read.error == kFileNotFound || read.error == kPathNotFound) {
    throw StoreError("no card file for the week ending " + IsoDateText(lastDay) + " (" +
                     store.HostPathText(dosName) + ")");
  }
  if (read.error == kDiskNotReady)
    throw StoreError("the card folder " + context.dataPath + context.configName +
                     " is on a drive that is not ready");
  if (!read) throw StoreError("cannot read the card file " + store.HostPathText(dosName) + ": " + Why(read));

  week.header = snapshot.Header();
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    WeekCards::Card& card = week.cards[static_cast<size_t>(slot)];
    snapshot.Card(slot, card.card, card.name, card.id);
  }
  return week;
}

}  // namespace shiftlog
