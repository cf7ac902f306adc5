// Builds the bytes of a register data file (80-byte records) the way the cash-register program
// lays them out, for the demo store and for test fixtures: the associates' names, PINs, ID
// numbers and supervisor flags, the store settings, the printer and display settings and the
// data path. Records nobody set are zero bytes, as in a file the cash-register program has
// just made.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "host/run_time_errors.h"

namespace shiftlog {

// Any file of fixed-length records as an image in memory.
class RecordImage {
 public:
  RecordImage(int recordLength, int recordCount);

  // Offsets from 0 within record (from 1). Writing past the last record makes the file longer.
  void SetByte(int record, int offset, int value);
  // text cut or blank padded to width.
  void SetText(int record, int offset, std::string_view text, int width);
  void SetInt32(int record, int offset, std::int32_t value);
  std::string Record(int record) const;

  const std::string& Bytes() const { return bytes_; }
  int RecordLength() const { return recordLength_; }
  // Writes the image as the whole file (written whole or not at all).
  Status WriteTo(const std::filesystem::path& path) const;

 private:
  size_t Offset(int record, int offset);
  int recordLength_;
  std::string bytes_;
};

class RegisterFileBuilder {
 public:
  static constexpr int kRecordCount = 463;  // up to the last ID number record

  RegisterFileBuilder();

  // One associate in slot 1-56.
  void SetAssociate(int slot, std::string_view name, std::int32_t pin, std::string_view id,
                    bool supervisor = false);
  void SetName(int slot, std::string_view name);
  void SetPin(int slot, std::int32_t pin);
  void SetId(int slot, std::string_view id);
  void SetSupervisor(int slot, bool supervisor);

  // The settings record.
  void SetTimeDisplay(int flag) { image_.SetByte(456, 56, flag); }
  void SetStoreId(std::string_view storeId) { image_.SetText(456, 57, storeId, 12); }
  void SetRequireSupervisor(int flag) { image_.SetByte(456, 69, flag); }
  void SetWeekEnd(int flag) { image_.SetByte(456, 70, flag); }

  // Printer settings 1-10 and the display mode byte (0 monochrome, 1 colour, 2 bright mono).
  void SetPrinterSetting(int n, int value) { image_.SetByte(3, n - 1, value); }
  void SetDisplayMode(int value) { image_.SetByte(3, 19, value); }
  // The data path, blank padded to 40 characters ("F:\STORE\").
  void SetDataPath(std::string_view dosPath) { image_.SetText(8, 0, dosPath, 40); }
  // The display and printer record: colour choice, raw bytes 50-56, the 23-character port.
  void SetColourChoice(int value) { image_.SetByte(20, 42, value); }
  void SetDisplayRecordByte(int offset, int value) { image_.SetByte(20, offset, value); }
  void SetPrinterPort(std::string_view port) { image_.SetText(20, 57, port, 23); }
  // The status byte the store's printer shows when it is ready (0: the usual 223).
  void SetPrinterReadyStatus(int value) { image_.SetByte(2, 56, value); }

  RecordImage& Image() { return image_; }
  const std::string& Bytes() const { return image_.Bytes(); }
  Status WriteTo(const std::filesystem::path& path) const { return image_.WriteTo(path); }

 private:
  RecordImage image_;
};

}  // namespace shiftlog
