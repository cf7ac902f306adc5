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

Status ReadLocalRegisterRecord(StoreContext& store, int number, std::string& record) {
  const std::optional<std::filesystem::path> path =
      ResolveDosPath(store.host, store.configName + std::string(kRegisterExtension));
  if (!path) return Status::Failed(kBadFileName);
  RecordFile local;
  Status status = local.Open(*path, kRegisterRecordLength, false, false);
  if (status) status = local.Read(number, record);
  const Status closed = local.Close();
  return status ? closed : status;
}

Status ReadLocalDataPath(StoreContext& store) {
  if (store.configName.empty()) return Status::Failed(kBadFileName);
  std::string record;
  const Status read = ReadLocalRegisterRecord(store, kDataPathRecord, record);
  if (!read) return read;
  store.dataPath = DataPathOf(record);
  return Status::Ok();
}

Status LoadRegisterAssociates(StoreContext& store) {
  // With an empty data path, data path + name is the local copy in the current folder.
  DataFile file;
  const Status opened = OpenDataFile(store, file, kRegisterRecordLength, FileMode::kRead, kRegisterExtension, "");
  if (!opened) return opened;
  const Status loaded = LoadAssociateList(store, file.records);
  const Status closed = CloseDataFile(store, file);
  return loaded ? closed : loaded;
}

}  // namespace shiftlog
