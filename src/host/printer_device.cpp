#include "host/printer_device.h"

#include <string>
#include <utility>

#include "host/whole_file.h"

namespace shiftlog {

namespace {

class FilePrintJob : public WholePrintJob {
 public:
  explicit FilePrintJob(std::filesystem::path path) : path_(std::move(path)) {}
  Status Finish() override { return WriteWholeFile(path_, Bytes()); }

 private:
  std::filesystem::path path_;
};

}  // namespace

int OffLineStatus(int readyValue) {
  return readyValue == kOffLineStatus ? (kOffLineStatus & 0x7F) : kOffLineStatus;
}

int ParallelPortOf(std::string_view deviceName) {
  if (!deviceName.empty() && deviceName.back() == ':') deviceName.remove_suffix(1);
  if (deviceName.size() != 4) return 0;
  const auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };
  if (upper(deviceName[0]) != 'L' || upper(deviceName[1]) != 'P' || upper(deviceName[2]) != 'T') return 0;
  const char digit = deviceName[3];
  return (digit >= '1' && digit <= '3') ? digit - '0' : 0;
}

std::unique_ptr<PrintJob> NewFilePrintJob(const std::filesystem::path& path) {
  return std::make_unique<FilePrintJob>(path);
}

}  // namespace shiftlog
