// The store the stress run works on: one shared folder (the data path F:\STORE\ of every
// station, holding the roster and the card folder) and a folder per station, each with its own
// register data file, its DRIVES link to the shared folder, a stand-in cash-register program
// and the hand-over file. And the check of the card files afterwards, record by record.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace shiftlog::stress {

inline constexpr const char* kConfigName = "SHOP1";
inline constexpr int kSupervisorSlot = 1;
// The stand-in cash-register program ends with this status, so a run that handed over is
// told from one that ended any other way.
inline constexpr int kRegisterStatus = 42;

struct Associate {
  std::string name;  // as on the card: 24 characters
  std::string id;    // 8 characters
  std::string pin;
};
// Slots 1 to 56; slot 1 is the payroll supervisor.
Associate AssociateOf(int slot);

struct StoreFolders {
  std::filesystem::path shared;      // drive F:
  std::filesystem::path cardFolder;  // shared/STORE/SHOP1
  std::vector<std::filesystem::path> stations;
};

// Makes the folders under top; false (with the reason on stderr) when it cannot.
bool MakeStressStore(const std::filesystem::path& top, int stations, StoreFolders& folders);

// Writes the hand-over file the cash-register program writes before starting the time clock.
bool WriteHandOver(const std::filesystem::path& station);
// Whether the time clock wrote the hand-over file back as it should.
bool HandOverWrittenBack(const std::filesystem::path& station);

// A punch or a correction, where it is on a card: week (card file name), associate slot,
// day 0-6, punch slot 1-8, and its time text.
using Entry = std::tuple<std::string, int, int, int, std::string>;

struct CardFileFindings {
  int filesChecked = 0;
  int recordsChecked = 0;
  std::vector<std::string> torn;      // what was wrong with a record or a file, one line each
  std::set<Entry> punches;            // every punch on file
  std::set<Entry> corrections;        // every correction on file (with the supervisor as corrector)
  std::vector<std::string> leftOver;  // lock files and temporary files still in the folders
};

// Reads every card file of the weeks and checks each record byte by byte: the name and ID#
// as made, every time field blanks or HH:MM, corrector bytes only beside corrections, and
// nothing else changed. Lists lock and temporary files left anywhere in the shared folder.
CardFileFindings CheckCardFiles(const StoreFolders& folders, const std::vector<std::string>& weeks);

}  // namespace shiftlog::stress
