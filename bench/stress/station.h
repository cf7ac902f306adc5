// One station of the stress run: a terminal on which the time clock is started again for
// every job, as the cash-register program starts it for every associate. The station reads its
// screen (what the program drew on the terminal) to know when to type the next keys, and notes
// what the screen showed: the punches on today's row and the corrections it confirmed.
#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "stress/pty_run.h"
#include "stress/stress_plan.h"
#include "stress/stress_store.h"

namespace shiftlog::stress {

using Steady = std::chrono::steady_clock;

// Everything the stations saw and did, for the checks afterwards.
struct Ledger {
  int runs = 0;
  int handOvers = 0;                 // runs that ended by starting the cash-register program
  std::set<Entry> ownPunches;        // each run's punch as its screen showed it
  std::set<Entry> shownPunches;      // every punch any screen showed on today's row
  std::set<Entry> shownCorrections;  // each correction as the correction screen showed it stored
  std::set<std::tuple<std::string, int, std::string>> attemptedPunches;  // week, slot, time
  std::set<Entry> attemptedCorrections;
  std::map<KillKind, int> kills;
  int killedAfterShowing = 0;  // kills that came after the screen had shown the punch
  struct Send {
    Steady::time_point at;
    int run;
  };
  std::vector<Send> lockingSends;  // keys after which the program takes the card file's lock
  std::map<int, Steady::time_point> killedRuns;
  std::vector<std::string> failures;
};

struct StationSettings {
  std::filesystem::path program;
  std::vector<std::string> environment;  // without the clock, which each run sets
  std::string fakeTimeLibrary;
  std::chrono::seconds stepPatience{30};  // the longest any screen may take to come
};

class Station {
 public:
  Station(int number, std::filesystem::path folder, std::filesystem::path cardFolder,
          const StationSettings& settings)
      : number_(number),
        folder_(std::move(folder)),
        cardFolder_(std::move(cardFolder)),
        settings_(settings) {}

  // Starts the program for the job of the round's week; runSerial numbers the run.
  void Begin(const Job& job, const Round& round, int runSerial, Ledger& ledger);
  bool Busy() const { return phase_ != Phase::kIdle; }
  pid_t Pid() const { return run_.Pid(); }
  int OutputFd() const { return run_.OutputFd(); }
  int RunSerial() const { return runSerial_; }
  int Number() const { return number_; }

  // After output came, after a timer ran out, or to see whether the program ended.
  void Step(Ledger& ledger);
  // The earliest moment Step must run even without output (a planned kill, a deadline).
  Steady::time_point NextTimer() const;
  // A run whose PIN screen is up waits there for the bench to type the PIN, so that the bench
  // can have one station alone make a week's file.
  bool ReadyForPin() const { return phase_ == Phase::kPinReady; }
  void TypePin(Ledger& ledger);
  // Whether the run is one whose punch is to be killed the moment its lock file appears.
  bool LockKillPending() const {
    return job_.kill.kind == KillKind::kLock && (phase_ == Phase::kReady || phase_ == Phase::kPunching);
  }
  // A punch run whose punch screen is up waits there for the bench to press the key, so that
  // the stations of a wave punch at the same moment.
  bool ReadyToPunch() const { return phase_ == Phase::kReady; }
  void Punch(Ledger& ledger);
  // Whether a lock file appearing now should end this run (a planned lock kill).
  bool WaitsToBeKilledAtLock() const { return lockKillArmed_ && phase_ == Phase::kPunching; }
  // Kills the run at once with SIGKILL.
  void KillNow(KillKind kind, Ledger& ledger);

 private:
  enum class Phase {
    kIdle,
    kPinScreen,
    kPinReady,
    kCard,
    kReady,
    kPunching,
    kMenu,
    kChooser,
    kGrid,
    kBar,
    kCorrectionScreen,
    kCorrecting,
    kMenuAgain,
    kCardAgain,
    kLeaving,
  };
  void Enter(Phase phase);
  void Fail(const std::string& what, Ledger& ledger);
  bool CardShown() const;
  int TagSlot() const;
  void SendCorrection(Ledger& ledger);
  void Ended(int status, Ledger& ledger);

  int number_;
  std::filesystem::path folder_;
  std::filesystem::path cardFolder_;
  const StationSettings& settings_;
  PtyRun run_;
  Phase phase_ = Phase::kIdle;
  Job job_;
  std::string week_;
  int runSerial_ = 0;
  Steady::time_point deadline_;
  std::optional<Steady::time_point> killAt_;
  bool lockKillArmed_ = false;
  bool punchShown_ = false;
  size_t correction_ = 0;  // the correction being made
  int fieldDay_ = 0;       // where the correction screen's field stands
  int fieldSlot_ = 1;
};

}  // namespace shiftlog::stress
