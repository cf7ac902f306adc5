// The file access layer every subsystem uses for the suite's shared files: data path + name +
// extension, the lock file beside a file open for update, and the card folder.
#pragma once

#include <fstream>
#include <string>
#include <string_view>

#include "host/run_time_errors.h"
#include "store/lock_file.h"
#include "store/record_file.h"
#include "store/store_context.h"

namespace shiftlog {

enum class FileMode {
  kRead = 1,        // random access, read only, shared
  kCreateText = 2,  // sequential text output (created or emptied)
  kReadText = 3,    // sequential text input; a missing file is reported, not fatal
  kUpdate = 4,      // takes the lock file, then random access read and write
};

// One open file of the layer: records for modes 1 and 4, a text stream for modes 2 and 3,
// and the lock file taken for mode 4 (when the data path is not empty). A DataFile that goes
// without CloseDataFile (an early return) still closes its file and removes its lock file.
struct DataFile {
  DataFile() = default;
  DataFile(const DataFile&) = delete;
  DataFile& operator=(const DataFile&) = delete;
  ~DataFile();

  FileMode mode = FileMode::kRead;
  RecordFile records;
  std::fstream text;
  std::filesystem::path path;
  std::filesystem::path lockPath;  // empty when no lock was taken
  LockFile lock;
  // How long mode 4 waits for another station's lock file before taking it over.
  std::chrono::milliseconds lockPatience = kLockPatience;
};

// Opens data path + name + extension (an empty name means the configuration name). Modes 1 and
// 4 open existing files only: a missing file is reported (53), never created empty, so a
// shared file cannot come into being without its contents.
Status OpenDataFile(StoreContext& store, DataFile& file, int recordLength, FileMode mode,
                    std::string_view extension, std::string_view name);
// Closes the file and removes its lock file, if one was taken.
Status CloseDataFile(StoreContext& store, DataFile& file);
// Closes the file as CloseDataFile after the work that gave status, and gives the first failure:
// status when it failed, else the close's.
Status CloseDataFileAfter(StoreContext& store, DataFile& file, Status status);

// Replaces the data path by the card folder (data path + configuration name + "\") and gives
// back the data path to restore afterwards.
std::string EnterCardFolder(StoreContext& store);

// Enters the card folder for the life of the object and restores the data path on every way
// out.
class CardFolderScope {
 public:
  explicit CardFolderScope(StoreContext& store) : store_(store), saved_(EnterCardFolder(store)) {}
  CardFolderScope(const CardFolderScope&) = delete;
  CardFolderScope& operator=(const CardFolderScope&) = delete;
  ~CardFolderScope() { store_.dataPath = saved_; }

 private:
  StoreContext& store_;
  std::string saved_;
};

}  // namespace shiftlog
