#include "layouts/printer_settings.h"

#include <algorithm>
#include <optional>

#include "host/dos_paths.h"
#include "store/record_file.h"
#include "store/register_data.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

int Byte(std::string_view record, size_t offset) {
  return offset < record.size() ? static_cast<unsigned char>(record[offset]) : 0;
}

// Record n of a record file of the current folder; zero bytes when the file is missing and may
// not be created.
Status ReadLocalRecord(StoreContext& store, std::string_view fileName, int number, std::string& record,
                       bool createIfMissing) {
  record.assign(kRegisterRecordLength, '\0');
  const std::optional<std::filesystem::path> path = ResolveDosPath(store.host, fileName);
  if (!path) return Status::Failed(kBadFileName);
  RecordFile file;
  Status status = file.Open(*path, kRegisterRecordLength, false, createIfMissing);
  if (!createIfMissing && status.error == kFileNotFound) return Status::Ok();
  if (status) status = file.Read(number, record);
  const Status closed = file.Close();
  return status ? closed : status;
}

}  // namespace

void ApplyPrinterSettingsRecord(PrinterSettings& printer, std::string_view record) {
  for (int n = 1; n <= 10; ++n) printer[n] = Byte(record, static_cast<size_t>(n - 1));
}

bool ApplyPrinterOverrideRecord(PrinterSettings& printer, std::string_view record) {
  if (Byte(record, 0) != 1) return false;
  for (int n = 1; n <= 8; ++n) printer[n] = Byte(record, static_cast<size_t>(n - 1));
  for (int n = 13; n <= 18; ++n) printer[n] = Byte(record, static_cast<size_t>(n - 1));
  const std::string device = TrimTrailingBlanks(record.substr(std::min<size_t>(25, record.size()), 25));
  printer.deviceName = device == "FILE:" ? std::string(kOverridePrintFileName) : device;
  printer.extraLineEnd = (printer[2] == 1 && printer[9] == 1) ? "\n" : "";
  return true;
}

Status ReadPrinterOverrideRecord(StoreContext& store, std::string& record, bool createIfMissing) {
  return ReadLocalRecord(store, store.configName + ".DAT", kPrinterOverrideRecord, record, createIfMissing);
}

Status ReadStationPrinterSettings(StoreContext& store, PrinterSettings& printer) {
  std::string record;
  if (const Status read = ReadLocalRegisterRecord(store, kPrinterSettingsRecord, record); !read) return read;
  ApplyPrinterSettingsRecord(printer, record);
  if (const Status overrides = ReadPrinterOverrideRecord(store, record, false); !overrides) return overrides;
  ApplyPrinterOverrideRecord(printer, record);
  return Status::Ok();
}

}  // namespace shiftlog
