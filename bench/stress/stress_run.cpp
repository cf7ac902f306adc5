#include "stress/stress_run.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <system_error>

#include "store/lock_file.h"

namespace shiftlog::stress {

namespace {

namespace fs = std::filesystem;
namespace chrono = std::chrono;

constexpr chrono::milliseconds kStaleLockAge{1000};  // no living station holds a lock this long
constexpr chrono::milliseconds kTakeOverSlack{500};  // the waiting station's steps and ours

double Seconds(Steady::duration d) {
  return chrono::duration<double>(d).count();
}

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

}  // namespace

bool RunStations(const StoreFolders& folders, std::vector<Round> rounds, const StationSettings& settings,
                 std::chrono::seconds limit, Ledger& ledger, LockFindings& locks) {
  StressRun run(folders, std::move(rounds), settings);
  const bool finished = run.Run(limit);
  ledger = std::move(run.ledger());
  locks = run.locks();
  return finished;
}

}  // namespace shiftlog::stress
