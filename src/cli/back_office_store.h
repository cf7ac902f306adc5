// The store as the command line reads it: the store's folder, its register data file, the data
// path and drive letters resolved as the time clock resolves them, and one week's cards read
// from a single snapshot of the card file. Nothing here writes to the store.
#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "cli/dates.h"
#include "host/real_host.h"
#include "layouts/printer_settings.h"
#include "store/card_record.h"
#include "store/store_context.h"
#include "store/time_card.h"

namespace shiftlog {

struct StoreOptions {
  std::string folder;      // empty: the current folder
  std::string configName;  // empty: the only register data file (*.TIL) in the folder
};

// The configuration name of the only register data file in folder. Throws a CommandError
// naming the candidates when there are several, or saying there is none.
std::string FindConfigName(const std::filesystem::path& folder);

class BackOfficeStore {
 public:
  // Finds the store and reads its register data file; throws a CommandError when it cannot.
  explicit BackOfficeStore(const StoreOptions& options);
  BackOfficeStore(const BackOfficeStore&) = delete;
  BackOfficeStore& operator=(const BackOfficeStore&) = delete;

  StoreContext& Context() { return store_; }
  const std::filesystem::path& Folder() const { return folder_; }
  // The host path a DOS name of the store stands for, links followed, for messages; the DOS
  // name itself when its drive is not ready.
  std::string HostPathText(const std::string& dosName);

 private:
  std::filesystem::path folder_;
  RealHost host_;
  StoreContext store_;
};

struct WeekCards {
  struct Card {
    TimeCard card;
    std::string name;  // 24 characters as stored (empty when damaged)
    std::string id;    // 8 characters as stored
  };
  std::string fileName;              // yyyymmdd
  std::array<std::string, 7> dates;  // mm-dd-yyyy, first to last day
  CardHeader header;                 // time display, store ID and week end of the file
  std::array<Card, 57> cards;        // slots 1-56; element 0 unused
};

// The card file name of the week a date falls in, with the store's week end.
std::string CardFileOfDate(const CalendarDate& date, int weekEnd);

// The station's printer settings as the time clock's start-up reads them: record 3 of the
// register data file in the store's folder, then the printer record file's overrides. Throws a
// CommandError when they cannot be read.
PrinterSettings ReadPrinterSettings(BackOfficeStore& store);

// Every card of card file fileName, from one snapshot of the file. Throws a CommandError when
// the week has no card file or it cannot be read.
WeekCards ReadWeekCards(BackOfficeStore& store, const std::string& fileName);

}  // namespace shiftlog
