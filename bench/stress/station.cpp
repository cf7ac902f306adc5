#include "stress/station.h"

#include <semaphore.h>
#include <sys/mman.h>

#include <system_error>

#include "text/text_fields.h"

namespace shiftlog::stress {

namespace {

// The keys as an xterm sends them.
constexpr const char* kCtrlInsert = "\x1b[2;5~";
constexpr const char* kF8 = "\x1b[19~";
constexpr const char* kUp = "\x1b[A";
constexpr const char* kDown = "\x1b[B";
constexpr const char* kRight = "\x1b[C";
constexpr const char* kLeft = "\x1b[D";
constexpr const char* kEnter = "\r";
constexpr const char* kEscape = "\x1b";

// The terminal's colour numbers of the backgrounds the screens use (PC blue, magenta, cyan).
constexpr int kBlue = 4;
constexpr int kMagenta = 5;
constexpr int kCyan = 6;

// Every week of the run ends on a Saturday, the last row of the card.
constexpr int kToday = 6;
constexpr int kTodayRow = 3 * kToday + 3;

int SlotColumn(int punchSlot) {
  return 8 * punchSlot + 8;
}

std::string Repeat(const char* key, int times) {
  std::string keys;
  for (int i = 0; i < times; ++i) keys += key;
  return keys;
}

// libfaketime shares its clock with the programs a process starts through a semaphore and a
// shared memory object named after the process, and removes them only when that process exits
// normally; a run that hands over (exec) or is killed leaves them in /dev/shm. Nobody else uses
// the names of a process that has ended.
void ForgetClockSharing(pid_t pid) {
  const std::string number = std::to_string(pid);
  ::sem_unlink(("/faketime_sem_" + number).c_str());
  ::shm_unlink(("/faketime_shm_" + number).c_str());
}

}  // namespace

void Station::Begin(const Job& job, const Round& round, int runSerial, Ledger& ledger) {
  job_ = job;
  week_ = round.week;
  runSerial_ = runSerial;
  killAt_.reset();
  lockKillArmed_ = false;
  punchShown_ = false;
  correction_ = 0;
  fieldDay_ = 0;
  fieldSlot_ = 1;
  Enter(Phase::kPinScreen);
  // The cash-register program writes the hand-over file before it starts the time clock.
  if (!WriteHandOver(folder_)) return Fail("cannot write TILCONFG.DAT", ledger);
  std::vector<std::string> environment = settings_.environment;
  environment.push_back("LD_PRELOAD=" + settings_.fakeTimeLibrary);
  environment.push_back("FAKETIME=@" + round.date + " " + job.clockTime + ":00");
  run_.onEnded = ForgetClockSharing;
  if (!run_.Start(settings_.program, folder_, environment)) return Fail("cannot start the program", ledger);
  ++ledger.runs;
  if (job.supervisor) {
    for (const Correction& c : job.corrections)
      ledger.attemptedCorrections.insert({week_, job.slot, c.day, c.punchSlot, c.time});
  } else {
    ledger.attemptedPunches.insert({week_, job.slot, job.clockTime});
  }
  if (job.kill.kind == KillKind::kStartUp)
    killAt_ = Steady::now() + std::chrono::microseconds(job.kill.delayMicroseconds);
}

void Station::Enter(Phase phase) {
  phase_ = phase;
  deadline_ = Steady::now() + settings_.stepPatience;
}

Steady::time_point Station::NextTimer() const {
  if (phase_ == Phase::kIdle) return Steady::time_point::max();
  return killAt_ && *killAt_ < deadline_ ? *killAt_ : deadline_;
}

void Station::Fail(const std::string& what, Ledger& ledger) {
  std::string job = job_.supervisor ? "corrections on slot " : "punch of slot ";
  job += std::to_string(job_.slot) + " at " + job_.clockTime + ", week " + week_;
  ledger.failures.push_back("station " + std::to_string(number_) + ", run " + std::to_string(runSerial_) +
                            " (" + job + "): " + what + "\n--- screen:\n" + run_.image.Dump());
  if (run_.Running()) run_.Kill();
  phase_ = Phase::kIdle;
}

void Station::KillNow(KillKind kind, Ledger& ledger) {
  if (phase_ == Phase::kIdle || !run_.Running()) return;
  ++ledger.kills[kind];
  ledger.killedRuns[runSerial_] = Steady::now();
  if (punchShown_) ++ledger.killedAfterShowing;
  run_.Kill();
  phase_ = Phase::kIdle;
}

// The slot the punch screen's cursor is on: the one cell of today's row in the preview's cyan
// (an empty slot) or the magenta of a filled one; 0 while there is none.
int Station::TagSlot() const {
  for (int slot = 1; slot <= 8; ++slot) {
    const int background = run_.image.BackgroundIndex(kTodayRow, SlotColumn(slot));
    if (background == kCyan || background == kMagenta) return slot;
  }
  return 0;
}

bool Station::CardShown() const {
  const Associate associate = AssociateOf(job_.supervisor ? kSupervisorSlot : job_.slot);
  const std::string heading = "Associate = " + associate.id + " " + associate.name;
  if (run_.image.Text(1, 15, static_cast<int>(heading.size())) != heading || TagSlot() == 0) return false;
  return !job_.supervisor || run_.image.Text(1, 63, 15) == "[F8]=Supervisor";
}

void Station::SendCorrection(Ledger& ledger) {
  const Correction& c = job_.corrections[correction_];
  std::string keys;
  keys += c.day > fieldDay_ ? Repeat(kDown, c.day - fieldDay_) : Repeat(kUp, fieldDay_ - c.day);
  keys += c.punchSlot > fieldSlot_ ? Repeat(kRight, c.punchSlot - fieldSlot_)
                                   : Repeat(kLeft, fieldSlot_ - c.punchSlot);
  keys += c.time.substr(0, 2) + c.time.substr(3, 2);
  // Leaving the field stores the correction.
  keys += c.punchSlot < 8 ? kRight : kLeft;
  fieldDay_ = c.day;
  fieldSlot_ = c.punchSlot < 8 ? c.punchSlot + 1 : c.punchSlot - 1;
  run_.Send(keys);
  ledger.lockingSends.push_back({Steady::now(), runSerial_});
  if (job_.kill.kind == KillKind::kCorrection && correction_ == 0)
    killAt_ = Steady::now() + std::chrono::microseconds(job_.kill.delayMicroseconds);
}

void Station::TypePin(Ledger& ledger) {
  if (phase_ != Phase::kPinReady) return;
  run_.Send(AssociateOf(job_.supervisor ? kSupervisorSlot : job_.slot).pin + kEnter);
  // The first run of a week makes the week's file under its lock.
  if (!std::filesystem::exists(cardFolder_ / (week_ + ".CLK")))
    ledger.lockingSends.push_back({Steady::now(), runSerial_});
  Enter(Phase::kCard);
}

void Station::Punch(Ledger& ledger) {
  if (phase_ != Phase::kReady) return;
  const Steady::time_point now = Steady::now();
  run_.Send(kCtrlInsert);
  ledger.lockingSends.push_back({now, runSerial_});
  if (job_.kill.kind == KillKind::kPunch)
    killAt_ = now + std::chrono::microseconds(job_.kill.delayMicroseconds);
  lockKillArmed_ = job_.kill.kind == KillKind::kLock;
  Enter(Phase::kPunching);
}

void Station::Ended(int status, Ledger& ledger) {
  if (phase_ != Phase::kLeaving || status != kRegisterStatus) {
    return Fail("the program ended with status " + std::to_string(status) + " before it was done", ledger);
  }
  ++ledger.handOvers;
  if (!HandOverWrittenBack(folder_)) return Fail("TILCONFG.DAT was not written back", ledger);
  phase_ = Phase::kIdle;
}

void Station::Step(Ledger& ledger) {
  if (phase_ == Phase::kIdle) return;
  const bool open = run_.ReadOutput();
  const Steady::time_point now = Steady::now();
  if (killAt_ && now >= *killAt_) return KillNow(job_.kill.kind, ledger);
  if (!open) {
    const std::optional<int> status = run_.Reap(true);
    return Ended(status.value_or(-1), ledger);
  }
  if (now > deadline_) return Fail("the screen did not come in time", ledger);

  const TerminalImage& screen = run_.image;
  const Associate associate = AssociateOf(job_.slot);
  auto menuShown = [&] {
    return screen.Text(3, 34, 15) == "Supervisor menu" && screen.Text(17, 30, 7) == "7. Quit" &&
           screen.BackgroundIndex(5, 29) == kCyan;
  };
  switch (phase_) {
    case Phase::kIdle:
    case Phase::kLeaving:
      break;
    case Phase::kPinScreen:
      if (screen.Text(9, 28, 26) == "Enter employee PIN number.") Enter(Phase::kPinReady);
      break;
    case Phase::kPinReady:
      break;
    case Phase::kCard:
      if (!CardShown()) break;
      if (job_.supervisor) {
        run_.Send(kF8);
        Enter(Phase::kMenu);
        break;
      }
      Enter(Phase::kReady);
      break;
    case Phase::kReady:
      break;
    case Phase::kPunching: {
      // The punch is on the screen when the cursor's cell turns from the preview to the
      // magenta of a filled slot showing this run's time.
      const int slot = TagSlot();
      if (slot == 0 || screen.BackgroundIndex(kTodayRow, SlotColumn(slot)) != kMagenta) break;
      // No associate is punched more often than a day has slots, so the cursor can only come
      // to a filled slot that holds another time when the punch was refused or dropped.
      if (screen.Text(kTodayRow, SlotColumn(slot), 5) != job_.clockTime)
        return Fail("the screen shows no punch at " + job_.clockTime, ledger);
      punchShown_ = true;
      ledger.ownPunches.insert({week_, job_.slot, kToday, slot, job_.clockTime});
      for (int s = 1; s <= 8; ++s) {
        const std::string text = screen.Text(kTodayRow, SlotColumn(s), 5);
        if (text != "     " && screen.BackgroundIndex(kTodayRow, SlotColumn(s)) != kCyan)
          ledger.shownPunches.insert({week_, job_.slot, kToday, s, text});
      }
      run_.Send(kEscape);
      Enter(Phase::kLeaving);
      break;
    }
    case Phase::kMenu:
      if (!menuShown()) break;
      run_.Send(kEnter);  // "1. Correct time punch"
      Enter(Phase::kChooser);
      break;
    case Phase::kChooser:
      if (!screen.Shows("MODIFY TIME PUNCHES") || !screen.Shows(week_ + ".CLK")) break;
      run_.Send(kEnter);  // the newest file: this week's
      Enter(Phase::kGrid);
      break;
    case Phase::kGrid:
      if (!screen.Shows("Choose time card you wish to modify.") || screen.BackgroundIndex(6, 7) != kCyan)
        break;
      run_.Send(Repeat(kDown, job_.slot - 1));
      Enter(Phase::kBar);
      break;
    case Phase::kBar: {
      // Two columns of 14 names a page, 28 slots a page.
      const int index = (job_.slot - 1) % 28;
      const int row = index % 14 + 1 + 5;
      const int column = 40 * (index / 14 + 1) - 33;
      const std::string name = TrimTrailingBlanks(associate.name);
      if (screen.BackgroundIndex(row, column) != kCyan ||
          screen.Text(row, column, static_cast<int>(name.size())) != name) {
        break;
      }
      run_.Send(kEnter);
      Enter(Phase::kCorrectionScreen);
      break;
    }
    case Phase::kCorrectionScreen:
      if (screen.Text(1, 1, 24) != "TIME CARD DATE  " + week_ || !screen.Shows("Type in time")) break;
      SendCorrection(ledger);
      Enter(Phase::kCorrecting);
      break;
    case Phase::kCorrecting: {
      // Stored: the field was left and the correction drawn back in the card's colours.
      const Correction& c = job_.corrections[correction_];
      const int row = 3 * c.day + 4;
      if (screen.Text(row, SlotColumn(c.punchSlot), 5) != c.time ||
          screen.BackgroundIndex(row, SlotColumn(c.punchSlot)) != kBlue) {
        break;
      }
      ledger.shownCorrections.insert({week_, job_.slot, c.day, c.punchSlot, c.time});
      if (++correction_ < job_.corrections.size()) {
        SendCorrection(ledger);
        Enter(Phase::kCorrecting);
      } else {
        run_.Send(kEscape);
        Enter(Phase::kMenuAgain);
      }
      break;
    }
    case Phase::kMenuAgain:
      if (!menuShown()) break;
      run_.Send(kEscape);  // "7. Quit"
      Enter(Phase::kCardAgain);
      break;
    case Phase::kCardAgain:
      if (!CardShown()) break;
      run_.Send(kEscape);
      Enter(Phase::kLeaving);
      break;
  }
}

}  // namespace shiftlog::stress
