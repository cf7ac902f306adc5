// The stress run's stations at work: the rounds (weeks) one after another, each station
// started on its next job as soon as it is free (the punch stations in waves), the planned
// kills carried out, and the card folder's lock files and temporary files followed with inotify.
#pragma once

#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "stress/station.h"
#include "stress/stress_plan.h"
#include "stress/stress_store.h"

namespace shiftlog::stress {

// What became of the lock files dead stations left, and of the creations they cut short.
struct LockFindings {
  int staleLocks = 0;
  double longestTakeOver = 0;          // from the moment the next station began to wait
  double longestAfterKill = 0;         // from the kill that left the lock
  std::set<std::string> cutCreations;  // temporary files dead stations left
  std::set<std::string> sweptCreations;
};

// Runs the rounds on the stations of folders; false when a station failed (ledger.failures
// tells) or the run took longer than limit.
bool RunStations(const StoreFolders& folders, std::vector<Round> rounds, const StationSettings& settings,
                 std::chrono::seconds limit, Ledger& ledger, LockFindings& locks);

}  // namespace shiftlog::stress
