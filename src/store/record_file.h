// Fixed-length record files as raw bytes: the register data file (80-byte records), the
// printer record file and the time card files (800-byte records). Records are numbered from 1;
// a record past the end of the file reads as zero bytes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "host/run_time_errors.h"

namespace shiftlog {

class RecordFile {
 public:
  RecordFile() = default;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  RecordFile(RecordFile&& other) noexcept;
  RecordFile& operator=(RecordFile&& other) noexcept;
  ~RecordFile();

  // Opens the file for reading, or for reading and writing (created when missing).
  // A missing file opened for reading is created empty too when createIfMissing is set, as
  // the suite's run-time does for random-access files.
  Status Open(const std::filesystem::path& path, int recordLength, bool forUpdate,
              bool createIfMissing = true);
  bool IsOpen() const { return fd_ >= 0; }
  int RecordLength() const { return recordLength_; }

  // The bytes of one record (recordLength of them); zero bytes past the end of the file.
  Status Read(int record, std::string& bytes) const;
  // Writes one whole record (bytes cut or padded with blanks to the record length). When the
  // disk fills in the middle of the record, the part already written is put back as it was,
  // so the record stays the earlier one whole.
  Status Write(int record, std::string_view bytes);
  // Makes the records written so far durable on the disk.
  Status Sync();
  Status Close();

 private:
  int fd_ = -1;
  int recordLength_ = 0;
};

}  // namespace shiftlog
