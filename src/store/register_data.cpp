#include "store/register_data.h"

#include <optional>

#include "host/dos_paths.h"
#include "store/associate_records.h"
#include "store/data_files.h"
#include "text/text_fields.h"

namespace shiftlog {

std::string DataPathOf(std::string_view record) {
  const std::string_view field = record.substr(0, 40);
  if (field.find('\0') != std::string_view::npos) return "";
  return TrimBlanks(field);
}

Status ReadLocalDataPath(StoreContext& store) {
  if (store.configName.empty()) return Status::Failed(kBadFileName);
  const std::optional<std::filesystem::path> path = ResolveDosPath(store.host, store.configName + ".TIL");
  if (!path) return Status::Failed(kBadFileName);
  RecordFile local;
  Status status = local.Open(*path, kRegisterRecordLength, false, false);
  std::string record;
  if (status) status = local.Read(kDataPathRecord, record);
  const Status closed = local.Close();
  if (!status) return status;
  if (!closed) return closed;
  store.dataPath = DataPathOf(record);
  return Status::Ok();
}

Status LoadRegisterAssociates(StoreContext& store) {
  // With an empty data path, data path + name is the local copy in the current folder.
  DataFile file;
  const Status opened = OpenDataFile(store, file, kRegisterRecordLength, FileMode::kRead, ".TIL", "");
  if (!opened) return opened;
  const Status loaded = LoadAssociateList(store, file.records);
  const Status closed = CloseDataFile(store, file);
  return loaded ? closed : loaded;
}

}  // namespace shiftlog
