// The time clock under many stations at once, and under stations that crash anywhere.
//
// Eight stations (and a ninth, the payroll supervisor's) share one store: each has a folder of
// its own with its register data file and a DRIVES link whose data path reaches one shared
// folder, and runs the built program on a pseudo-terminal of its own, started again for every
// associate as the cash-register program starts it. The stations punch 56 associates 8 times
// each into one week's card file, typing the PIN, [CTRL]+[INSERT] and [ESC] and reading their
// screens, while the supervisor corrects cards of the same file through the supervisor menu.
// The clock is fixed (libfaketime), each punch at a minute of its own. Afterwards every punch
// and correction a screen showed must be on file, every record must be whole, and no lock file
// or temporary file may be left.
//
// With --kills the same runs go over four weeks and some runs are killed with SIGKILL: shortly
// after start-up, in the middle of a punch, the moment the card file's lock appears, while a
// correction is stored, and while a week's file is being made. Then, besides the above, the
// next station must take a dead station's lock over after its 5 seconds of patience, and the
// temporary file of a creation cut short must be swept by the next creation.
//
//   build/stress_bench [--small] [--kills] [--seed N] [--folder DIR] [--keep] [--program PATH]
//
// --small is the short round CI runs. Exit status 0 when every check holds, 1 when one fails,
// 77 when libfaketime is not installed.
#include <glob.h>
#include <signal.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "stress/station.h"
#include "stress/stress_plan.h"
#include "stress/stress_run.h"
#include "stress/stress_store.h"

#ifndef SHIFTLOG_BINARY
#define SHIFTLOG_BINARY "shiftlog"
#endif

namespace {

namespace fs = std::filesystem;
namespace chrono = std::chrono;
using namespace shiftlog;
using namespace shiftlog::stress;

double Seconds(Steady::duration d) {
  return chrono::duration<double>(d).count();
}

struct Options {
  bool small = false;
  bool kills = false;
  std::uint32_t seed = 1;
  fs::path folder;
  bool keep = false;
  fs::path program = SHIFTLOG_BINARY;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const bool hasValue = i + 1 < argc;
    if (option == "--small") {
      options.small = true;
    } else if (option == "--kills") {
      options.kills = true;
    } else if (option == "--keep") {
      options.keep = true;
    } else if (option == "--seed" && hasValue) {
      options.seed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else if (option == "--folder" && hasValue) {
      options.folder = argv[++i];
    } else if (option == "--program" && hasValue) {
      options.program = argv[++i];
    } else {
      std::fprintf(
          stderr,
          "usage: stress_bench [--small] [--kills] [--seed N] [--folder DIR] [--keep] [--program PATH]\n");
      return false;
    }
  }
  return true;
}

PlanSettings SettingsFor(const Options& options) {
  PlanSettings settings;
  settings.seed = options.seed;
  if (options.small) {
    settings.associates = 16;
    settings.visitsPerRound = 4;
    settings.punchesPerRound = 4;
  }
  if (options.kills) {
    settings.rounds = options.small ? 2 : 4;
    settings.punchesPerRound = 2;  // each associate's punches spread over the weeks
    settings.visitsPerRound = options.small ? 4 : 7;
    settings.startUpKills = options.small ? 1 : 5;
    settings.punchKills = options.small ? 2 : 10;
    settings.lockKills = options.small ? 2 : 8;
    settings.correctionKills = options.small ? 1 : 3;
    settings.creationKills = settings.rounds;  // every week's file is cut short once
    settings.closingPunch = true;
  }
  return settings;
}

std::string FakeTimeLibrary() {
  glob_t found{};
  std::string library;
  for (const char* pattern : {"/usr/lib/*/faketime/libfaketime.so.1", "/usr/lib/faketime/libfaketime.so.1",
                              "/usr/local/lib/faketime/libfaketime.so.1"}) {
    if (::glob(pattern, 0, nullptr, &found) == 0 && found.gl_pathc > 0) library = found.gl_pathv[0];
    ::globfree(&found);
    if (!library.empty()) break;
  }
  return library;
}

// The process a temporary file names: "<target>.<machine>.<pid>.new".
template <typename Set, typename Other>
int Missing(const Set& wanted, const Other& present) {
  int missing = 0;
  for (const auto& entry : wanted) missing += present.count(entry) == 0 ? 1 : 0;
  return missing;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) return 2;
  ::signal(SIGPIPE, SIG_IGN);
  const std::string fakeTime = FakeTimeLibrary();
  if (fakeTime.empty()) {
    std::printf("stress: SKIP, libfaketime is not installed (scripts/install-deps.sh installs it)\n");
    return 77;
  }
  std::error_code ec;
  options.program = fs::absolute(options.program, ec);
  if (!fs::exists(options.program)) {
    std::fprintf(stderr, "stress: no program %s\n", options.program.c_str());
    return 1;
  }
  fs::path top = options.folder;
  if (top.empty()) {
    std::string pattern = (fs::temp_directory_path() / "shiftlog-stress-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return 1;
    top = pattern;
  } else {
    fs::create_directories(top, ec);
  }

  const PlanSettings settings = SettingsFor(options);
  std::vector<Round> rounds = MakePlan(settings);
  StoreFolders folders;
  if (!MakeStressStore(top, settings.stations + 1, folders)) return 1;
  StationSettings stationSettings;
  stationSettings.program = options.program;
  stationSettings.fakeTimeLibrary = fakeTime;
  stationSettings.environment = {"TERM=xterm-256color",
                                 "LANG=C",
                                 "LC_ALL=C",
                                 "TZ=UTC",
                                 "PATH=/usr/bin:/bin",
                                 "HOME=" + top.string(),
                                 "FAKETIME_DONT_FAKE_MONOTONIC=1",
                                 "ASAN_OPTIONS=verify_asan_link_order=0"};
  std::vector<std::string> weeks;
  for (const Round& round : rounds) weeks.push_back(round.week);

  std::printf(
      "stress run%s (seed %u): %d punch stations and a supervisor's station, %d associates, %d week%s%s%s\n",
      options.kills ? " with kills" : "", settings.seed, settings.stations, settings.associates,
      settings.rounds, settings.rounds == 1 ? "" : "s",
      settings.closingPunch ? " and a punch in the week after" : "", options.small ? ", small" : "");
  std::fflush(stdout);

  const Steady::time_point started = Steady::now();
  Ledger ledger;
  LockFindings locks;
  const bool finished = RunStations(folders, std::move(rounds), stationSettings,
                                    chrono::seconds(options.small ? 150 : 600), ledger, locks);
  const double seconds = Seconds(Steady::now() - started);

  int killed = 0;
  for (const auto& [kind, n] : ledger.kills) killed += n;
  const CardFileFindings files = CheckCardFiles(folders, weeks);
  std::vector<std::string>& problems = ledger.failures;
  int lostPunches = 0;
  int lostCorrections = 0;
  if (finished) {
    std::set<Entry> shown = ledger.shownPunches;
    shown.insert(ledger.ownPunches.begin(), ledger.ownPunches.end());
    lostPunches = Missing(shown, files.punches);
    lostCorrections = Missing(ledger.shownCorrections, files.corrections);
    if (lostPunches > 0)
      problems.push_back(std::to_string(lostPunches) + " punches shown on a screen are not on file");
    if (lostCorrections > 0)
      problems.push_back(std::to_string(lostCorrections) + " corrections shown on a screen are not on file");
    // Nothing on file that nobody did, nothing twice.
    std::map<std::tuple<std::string, int, std::string>, int> onFile;
    for (const auto& [week, slot, day, punchSlot, time] : files.punches) ++onFile[{week, slot, time}];
    for (const auto& [punch, count] : onFile) {
      if (ledger.attemptedPunches.count(punch) == 0 || count > 1)
        problems.push_back("a punch on file that no run made once: slot " +
                           std::to_string(std::get<1>(punch)) + " " + std::get<2>(punch));
    }
    for (const Entry& correction : files.corrections) {
      if (ledger.attemptedCorrections.count(correction) == 0)
        problems.push_back("a correction on file that no run made: slot " +
                           std::to_string(std::get<1>(correction)));
    }
    if (killed == 0 && (files.punches.size() != ledger.attemptedPunches.size() ||
                        files.corrections.size() != ledger.attemptedCorrections.size()))
      problems.push_back("without kills, every punch and correction made must be on file");
    for (const std::string& torn : files.torn) problems.push_back("torn: " + torn);
    for (const std::string& left : files.leftOver) problems.push_back("left behind: " + left);
    if (locks.sweptCreations.size() != locks.cutCreations.size())
      problems.push_back("temporary files of creations cut short were not swept");
  }

  const int visits = static_cast<int>(ledger.attemptedCorrections.size());
  std::printf("  runs          %d (%zu punches, %d corrections), %.1f s, %.0f ms a run on %d stations\n",
              ledger.runs, ledger.attemptedPunches.size(), visits, seconds,
              ledger.runs > 0 ? seconds * 1000 / ledger.runs : 0.0, settings.stations + 1);
  std::printf("  punches       %zu made, %zu shown by their screens, %zu on file, lost %d\n",
              ledger.attemptedPunches.size(), ledger.ownPunches.size(), files.punches.size(), lostPunches);
  std::printf("  corrections   %zu made, %zu shown, %zu on file, lost %d\n",
              ledger.attemptedCorrections.size(), ledger.shownCorrections.size(), files.corrections.size(),
              lostCorrections);
  std::printf("  card records  %d in %d files checked, torn %zu; lock and temporary files left %zu\n",
              files.recordsChecked, files.filesChecked, files.torn.size(), files.leftOver.size());
  if (options.kills) {
    std::printf("  kills         %d:", killed);
    const char* separator = " ";
    for (const auto& [kind, n] : ledger.kills) {
      std::printf("%s%s %d", separator, KillName(kind), n);
      separator = ", ";
    }
    std::printf(" (%d after the screen had shown the punch)\n", ledger.killedAfterShowing);
    std::printf(
        "  dead locks    %d taken over, at most %.2f s after the next station began to wait (%.2f s after "
        "the kill)\n",
        locks.staleLocks, locks.longestTakeOver, locks.longestAfterKill);
    std::printf("  cut creations %zu, their temporary files swept by the next creation %zu\n",
                locks.cutCreations.size(), locks.sweptCreations.size());
  }
  for (const std::string& problem : problems) std::printf("FAIL: %s\n", problem.c_str());
  if (problems.empty()) std::printf("  all checks hold\n");
  if (!options.keep && problems.empty() && options.folder.empty()) fs::remove_all(top, ec);
  if (!problems.empty()) std::printf("  the store is kept in %s\n", top.c_str());
  return problems.empty() ? 0 : 1;
}
