// The lock file that marks a shared file as open for update: "_" + characters 2 to 8 of the
// file's name + the same extension, in the same folder, holding the line "STOP" in quotes.
// Every station sharing the data path (and the cash-register program) keeps away from a file
// while its lock file exists.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "host/run_time_errors.h"

namespace shiftlog {

// How long a station waits for another station's lock file before it takes the lock over:
// a lock left behind by a station that died costs at most this long.
inline constexpr std::chrono::milliseconds kLockPatience{5000};

// The bytes a lock file holds.
inline constexpr std::string_view kLockFileContent = "\"STOP\"\r\n";

// "_" + characters 2 to 8 of name + extension: "20121215", ".CLK" gives "_0121215.CLK".
std::string LockFileName(std::string_view name, std::string_view extension);

// One lock file held by this program. The lock file is created exclusively, so two stations
// never both believe they hold it; it is removed when the object goes, on every way out.
class LockFile {
 public:
  LockFile() = default;
  LockFile(const LockFile&) = delete;
  LockFile& operator=(const LockFile&) = delete;
  LockFile(LockFile&& other) noexcept;
  LockFile& operator=(LockFile&& other) noexcept;
  ~LockFile() { Release(); }

  // Creates the lock file at path. While another station's lock file is there, waits (sleeping
  // in short steps) until it goes; a lock file that stays the same for the whole patience,
  // counted from the start of this call, is taken to be left by a dead station and replaced.
  Status Take(const std::filesystem::path& path, std::chrono::milliseconds patience = kLockPatience);

  // Removes the lock file, unless another station has taken it over meanwhile.
  void Release();

  bool Held() const { return held_; }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  // The lock file this object made, told apart from a later one under the same name.
  dev_t device_ = 0;
  ino_t inode_ = 0;
  time_t modifiedSeconds_ = 0;
  long modifiedNanoseconds_ = 0;
  bool held_ = false;
};

}  // namespace shiftlog
