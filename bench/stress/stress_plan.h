// What each station of a stress run does, drawn from a seeded random generator, so that a
// run can be repeated: the weeks (rounds), the punch runs dealt out to the stations, the
// supervisor's correction visits, and which runs are killed, how and when.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace shiftlog::stress {

enum class KillKind {
  kNone,
  kStartUp,     // a while after the program was started
  kPunch,       // a while after [CTRL]+[INSERT]
  kLock,        // the moment a lock file of the week's card file appears after [CTRL]+[INSERT]
  kCorrection,  // a while after the keys of a correction
  kCreation,    // the moment the week's file is being made (planned per week, not per run)
};
const char* KillName(KillKind kind);

struct Kill {
  KillKind kind = KillKind::kNone;
  int delayMicroseconds = 0;
};

struct Correction {
  int day = 0;        // 0-6
  int punchSlot = 1;  // 1-8
  std::string time;   // HH:MM
};

// One run of the program: an associate's punch, or a supervisor's corrections on one card.
struct Job {
  bool supervisor = false;
  int slot = 1;           // the associate punched, or whose card is corrected
  std::string clockTime;  // HH:MM the clock shows when the run starts: the punch's time
  std::vector<Correction> corrections;
  Kill kill;
};

struct Round {
  std::string week;  // the card file name yyyymmdd: a Saturday, the last day of its week
  std::string date;  // the same day as yyyy-mm-dd, for the clock
  bool killCreation = false;
  // One list per punch station, then the supervisor's. The punch stations go in waves: the
  // k-th jobs of all punch stations run at about the same time.
  std::vector<std::vector<Job>> stationJobs;
};

struct PlanSettings {
  std::uint32_t seed = 1;
  int stations = 8;  // punch stations (an even number); the supervisor's station comes on top
  int associates = 56;
  int rounds = 1;
  int punchesPerRound = 8;  // per associate and week, an even number
  int visitsPerRound = 28;
  int correctionsPerVisit = 2;
  // How many runs are killed in each way over the whole run, and in how many weeks the
  // making of the week's file is.
  int startUpKills = 0;
  int punchKills = 0;
  int lockKills = 0;
  int correctionKills = 0;
  int creationKills = 0;
  // One punch in the week after the last, whose creation of that week's file sweeps what the
  // creations cut short in the last week may have left (a creation sweeps its folder).
  bool closingPunch = false;
};

std::vector<Round> MakePlan(const PlanSettings& settings);

}  // namespace shiftlog::stress
