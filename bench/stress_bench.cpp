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
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/inotify.h>
#include <unistd.h>

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

#include "store/lock_file.h"
#include "stress/station.h"
#include "stress/stress_plan.h"
#include "stress/stress_store.h"

#ifndef SHIFTLOG_BINARY
#define SHIFTLOG_BINARY "shiftlog"
#endif

namespace {

namespace fs = std::filesystem;
namespace chrono = std::chrono;
using namespace shiftlog;
using namespace shiftlog::stress;

constexpr chrono::milliseconds kStaleLockAge{1000};  // no living station holds a lock this long
constexpr chrono::milliseconds kTakeOverSlack{500};  // the waiting station's steps and ours

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
pid_t TemporaryOwner(const std::string& name) {
  const size_t end = name.size() - 4;
  const size_t dot = name.rfind('.', end - 1);
  if (dot == std::string::npos) return -1;
  return static_cast<pid_t>(std::atol(name.substr(dot + 1, end - dot - 1).c_str()));
}

bool IsTemporary(const std::string& name) {
  return name.size() > 4 && name.compare(name.size() - 4, 4, ".new") == 0;
}

// What happened to the card folder's lock files and temporary files, as inotify tells it.
class FolderWatch {
 public:
  explicit FolderWatch(const fs::path& folder) : folder_(folder) {
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ >= 0)
      ::inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO);
  }
  ~FolderWatch() {
    if (fd_ >= 0) ::close(fd_);
  }
  int Fd() const { return fd_; }

  struct Event {
    bool created;
    std::string name;
  };
  std::vector<Event> Read() {
    std::vector<Event> events;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
      const ssize_t n = ::read(fd_, buffer, sizeof buffer);
      if (n <= 0) return events;
      for (ssize_t at = 0; at < n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        if (event->len > 0) events.push_back({(event->mask & (IN_CREATE | IN_MOVED_TO)) != 0, event->name});
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
  }

 private:
  fs::path folder_;
  int fd_ = -1;
};

struct LockFindings {
  int staleLocks = 0;
  double longestTakeOver = 0;          // from the moment the next station began to wait
  double longestAfterKill = 0;         // from the kill that left the lock
  std::set<std::string> cutCreations;  // temporary files dead stations left
  std::set<std::string> sweptCreations;
};

class StressRun {
 public:
  StressRun(const StoreFolders& folders, std::vector<Round> rounds, StationSettings settings)
      : folders_(folders),
        rounds_(std::move(rounds)),
        settings_(std::move(settings)),
        watch_(folders.cardFolder) {
    for (size_t i = 0; i < folders.stations.size(); ++i) {
      stations_.push_back(std::make_unique<Station>(static_cast<int>(i) + 1, folders.stations[i],
                                                    folders.cardFolder, settings_));
    }
  }

  bool Run(chrono::seconds limit) {
    const Steady::time_point end = Steady::now() + limit;
    for (round_ = 0; round_ < rounds_.size(); ++round_) {
      std::vector<size_t> next(stations_.size(), 0);
      creationKilled_ = false;
      creator_ = nullptr;
      for (;;) {
        bool busy = false;
        for (size_t s = 0; s < stations_.size(); ++s) {
          Station& station = *stations_[s];
          const std::vector<Job>& jobs = rounds_[round_].stationJobs[s];
          if (!station.Busy() && next[s] < jobs.size() && ledger_.failures.empty() && InWave(s, next))
            station.Begin(jobs[next[s]++], rounds_[round_], ++runSerial_, ledger_);
          busy = busy || station.Busy();
        }
        if (!busy) break;
        Wait();
        const int killsBefore = KillCount();
        HandleFolderEvents();
        for (auto& station : stations_) station->Step(ledger_);
        GoAhead();
        if (KillCount() != killsBefore) NoteCutCreations();
        if (Steady::now() > end)
          ledger_.failures.push_back("the run took longer than " + std::to_string(limit.count()) + " s");
        if (!ledger_.failures.empty()) {
          for (auto& station : stations_) station->KillNow(KillKind::kNone, ledger_);
          return false;
        }
      }
    }
    HandleFolderEvents();
    return true;
  }

  // A punch station starts its next job only when every other punch station has started
  // the job before it, so the pairs of punches of one associate run at the same moment.
  bool InWave(size_t station, const std::vector<size_t>& next) const {
    const size_t punchStations = stations_.size() - 1;
    if (station >= punchStations) return true;
    for (size_t other = 0; other < punchStations; ++other) {
      if (next[other] < next[station] && next[other] < rounds_[round_].stationJobs[other].size())
        return false;
    }
    return true;
  }

  // Types the PINs and presses the punch keys the stations wait for. The wave's punch stations
  // press [CTRL]+[INSERT] together once all of them show their punch screens: pairs of them
  // punch the same associate, and all of them want the same lock. Where a kill is planned at a
  // week's creation or at a lock, that station goes alone first, so the file being made or
  // the lock appearing is surely its own; the others follow once it is dead.
  void GoAhead() {
    const Round& round = rounds_[round_];
    const bool creationPending =
        round.killCreation && !creationKilled_ && !fs::exists(folders_.cardFolder / (round.week + ".CLK"));
    const bool creatorAlive = creator_ != nullptr && creator_->Busy() && creator_->RunSerial() == creatorRun_;
    for (auto& station : stations_) {
      if (!station->ReadyForPin()) continue;
      if (creationPending) {
        if (creatorAlive) continue;
        creator_ = station.get();
        creatorRun_ = station->RunSerial();
        station->TypePin(ledger_);
        break;
      }
      station->TypePin(ledger_);
    }

    const size_t punchStations = stations_.size() - 1;
    for (size_t s = 0; s < punchStations; ++s) {
      if (stations_[s]->Busy() && stations_[s]->LockKillPending()) {
        stations_[s]->Punch(ledger_);
        return;
      }
    }
    bool anyReady = false;
    for (size_t s = 0; s < punchStations; ++s) {
      if (stations_[s]->Busy() && !stations_[s]->ReadyToPunch()) return;
      anyReady = anyReady || stations_[s]->ReadyToPunch();
    }
    if (!anyReady) return;
    for (size_t s = 0; s < punchStations; ++s) stations_[s]->Punch(ledger_);
  }

  const Ledger& ledger() const { return ledger_; }
  Ledger& ledger() { return ledger_; }
  const LockFindings& locks() const { return locks_; }
  std::vector<std::string>& problems() { return ledger_.failures; }

 private:
  int KillCount() const {
    int count = 0;
    for (const auto& [kind, n] : ledger_.kills) count += n;
    return count;
  }

  // Sleeps until a station's terminal has output, the folder changed, or a timer runs out.
  void Wait() {
    std::vector<pollfd> fds;
    fds.push_back({watch_.Fd(), POLLIN, 0});
    Steady::time_point wake = Steady::now() + chrono::milliseconds(50);
    for (auto& station : stations_) {
      if (station->OutputFd() >= 0) fds.push_back({station->OutputFd(), POLLIN, 0});
      wake = std::min(wake, station->NextTimer());
    }
    const auto left = std::max(Steady::duration::zero(), wake - Steady::now());
    const auto nanoseconds = chrono::duration_cast<chrono::nanoseconds>(left).count();
    timespec timeout{static_cast<time_t>(nanoseconds / 1000000000),
                     static_cast<long>(nanoseconds % 1000000000)};
    ::ppoll(fds.data(), fds.size(), &timeout, nullptr);
  }

  void HandleFolderEvents() {
    const std::string& week = rounds_[std::min(round_, rounds_.size() - 1)].week;
    for (const FolderWatch::Event& event : watch_.Read()) {
      const Steady::time_point now = Steady::now();
      if (event.name.rfind('_', 0) == 0) {
        if (event.created) {
          lockSince_[event.name] = now;
          for (auto& station : stations_) {
            if (station->WaitsToBeKilledAtLock()) {
              station->KillNow(KillKind::kLock, ledger_);
              break;
            }
          }
        } else if (lockSince_.count(event.name) != 0) {
          LockGone(lockSince_[event.name], now);
          lockSince_.erase(event.name);
        }
      } else if (IsTemporary(event.name)) {
        if (!event.created) {
          if (locks_.cutCreations.count(event.name) != 0) locks_.sweptCreations.insert(event.name);
          continue;
        }
        // The week's file is being made: in a week planned for it, the station making it dies.
        if (!rounds_[round_].killCreation || creationKilled_ || event.name.rfind(week + ".CLK.", 0) != 0)
          continue;
        const pid_t owner = TemporaryOwner(event.name);
        for (auto& station : stations_) {
          if (station->Busy() && station->Pid() == owner) {
            station->KillNow(KillKind::kCreation, ledger_);
            creationKilled_ = true;
          }
        }
      }
    }
  }

  // A lock file that stood a second or more was left by a station that died; the next station
  // must take it over after its 5 seconds of patience. The patience of a station runs from its
  // first look at that lock file, which comes after its key ([CTRL]+[INSERT], a correction, the
  // PIN of a week's first run) and after the lock file appeared.
  void LockGone(Steady::time_point since, Steady::time_point gone) {
    if (gone - since < kStaleLockAge) return;
    std::optional<Steady::time_point> kill;
    for (const auto& [run, at] : ledger_.killedRuns) {
      if (at >= since - chrono::milliseconds(100) && at <= gone && (!kill || at < *kill)) kill = at;
    }
    if (!kill) {
      if (gone - since > kLockPatience + kTakeOverSlack)
        ledger_.failures.push_back("a lock file stood " + std::to_string(Seconds(gone - since)) +
                                   " s though no station had died");
      return;
    }
    std::optional<Steady::time_point> firstWait;
    for (const Ledger::Send& send : ledger_.lockingSends) {
      if (send.at > gone) continue;
      const auto killed = ledger_.killedRuns.find(send.run);
      if (killed != ledger_.killedRuns.end() && killed->second <= gone) continue;
      if (!firstWait || send.at < *firstWait) firstWait = send.at;
    }
    const Steady::time_point waitFrom = std::max(since, firstWait.value_or(*kill));
    ++locks_.staleLocks;
    locks_.longestTakeOver = std::max(locks_.longestTakeOver, Seconds(gone - waitFrom));
    locks_.longestAfterKill = std::max(locks_.longestAfterKill, Seconds(gone - *kill));
    if (gone - waitFrom > kLockPatience + kTakeOverSlack) {
      ledger_.failures.push_back("a dead station's lock file was taken over only " +
                                 std::to_string(Seconds(gone - waitFrom)) +
                                 " s after the next station began to wait");
    }
  }

  // The temporary files of creations whose station was just killed.
  void NoteCutCreations() {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folders_.cardFolder, ec)) {
      const std::string name = entry.path().filename().string();
      if (!IsTemporary(name)) continue;
      const pid_t owner = TemporaryOwner(name);
      bool running = false;
      for (auto& station : stations_) running = running || (station->Busy() && station->Pid() == owner);
      if (!running) locks_.cutCreations.insert(name);
    }
  }

  const StoreFolders& folders_;
  std::vector<Round> rounds_;
  StationSettings settings_;
  FolderWatch watch_;
  std::vector<std::unique_ptr<Station>> stations_;
  Ledger ledger_;
  LockFindings locks_;
  size_t round_ = 0;
  int runSerial_ = 0;
  bool creationKilled_ = false;
  Station* creator_ = nullptr;  // the one station let go to make a week's file that is to be cut short
  int creatorRun_ = 0;
  std::map<std::string, Steady::time_point> lockSince_;
};

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
  StressRun run(folders, std::move(rounds), stationSettings);
  const bool finished = run.Run(chrono::seconds(options.small ? 150 : 600));
  const double seconds = Seconds(Steady::now() - started);
  Ledger& ledger = run.ledger();
  const LockFindings& locks = run.locks();

  int killed = 0;
  for (const auto& [kind, n] : ledger.kills) killed += n;
  const CardFileFindings files = CheckCardFiles(folders, weeks);
  std::vector<std::string>& problems = run.problems();
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
