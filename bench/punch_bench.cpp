// How much work the punch screen costs: CPU per key from the key to the redrawn screen, and
// the idle load while the clock and the cell preview run. Keys come from the scripted
// terminal, so the figures leave out the terminal's own output (only the frames handed over
// to it are counted); the card file lives in a temporary folder.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "bench_host.h"
#include "console/scripted_terminal.h"
#include "console/wait_key.h"
#include "frame/program.h"
#include "punch/punch_screen.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;

struct Run {
  double cpuSeconds = 0;
  double wallSeconds = 0;
  int presents = 0;
};

// One visit of the punch screen with the keys the script queues, ending when they run out.
// A fresh store each time, so every visit starts from the same empty card.
Run Visit(const std::function<void(ScriptedTerminal&, FixedClock&)>& script) {
  const fs::path folder = MakeBenchFolder();
  ScriptedTerminal terminal;
  FixedClock clock;
  BenchHost host(folder);
  Program program(terminal, clock, host);
  program.store.associates.names[3] = "BOB BAKER               ";
  program.store.configName = "STORE";
  program.frame.thisWeekCard = "20121215";
  program.frame.loggedInSlot = 3;
  program.frame.loggedInName = program.store.associates.names[3];
  script(terminal, clock);

  Run run;
  const double start = CpuSeconds();
  const double wallStart = WallSeconds();
  try {
    PunchScreen(program);
  } catch (const ScriptExhausted&) {
  }
  run.cpuSeconds = CpuSeconds() - start;
  run.wallSeconds = WallSeconds() - wallStart;
  run.presents = terminal.Presents();
  fs::remove_all(folder);
  return run;
}

void Report(const char* what, double perUnitMs, const char* unit, double goalMs) {
  std::printf("%-44s %9.4f ms per %-7s (goal < %.1f ms)\n", what, perUnitMs, unit, goalMs);
}

}  // namespace
}  // namespace shiftlog

int main() {
  using namespace shiftlog;
  constexpr int kKeys = 20000;
  constexpr int kTicks = 20000;
  constexpr int kVisits = 200;

  const auto nothing = [](ScriptedTerminal&, FixedClock&) {};
  double entry = 0;
  double entryWall = 0;
  for (int i = 0; i < kVisits; ++i) {
    const Run run = Visit(nothing);
    entry += run.cpuSeconds;
    entryWall += run.wallSeconds;
  }
  entry /= kVisits;
  entryWall /= kVisits;
  Report("opening the screen (read card, draw)", entry * 1e3, "visit", 5.0);

  const Run moves = Visit([](ScriptedTerminal& terminal, FixedClock&) {
    for (int i = 0; i < kKeys; ++i) terminal.TypeExtended(i % 2 ? kKeyLeft : kKeyRight);
  });
  Report("[LEFT]/[RIGHT] to the redrawn screen", (moves.cpuSeconds - entry) * 1e3 / kKeys, "key", 1.0);
  std::printf("%-44s %9.2f frames per key\n", "", static_cast<double>(moves.presents) / kKeys);

  const Run totals = Visit([](ScriptedTerminal& terminal, FixedClock&) {
    for (int i = 0; i < kKeys / 2; ++i) {
      terminal.Type("+");
      terminal.TypeExtended(kKeyRight);
    }
  });
  Report("[+] and the key closing the totals", (totals.cpuSeconds - entry) * 1e3 / kKeys, "key", 1.0);

  // Eight punches fill today's row: [CTRL]+[INSERT] then [RIGHT] to the next empty slot.
  double punches = 0;
  double punchesWall = 0;
  constexpr int kPunchVisits = kVisits / 8;
  for (int i = 0; i < kPunchVisits; ++i) {
    const Run run = Visit([](ScriptedTerminal& terminal, FixedClock&) {
      for (int slot = 1; slot <= 8; ++slot) {
        terminal.TypeExtended(kKeyCtrlInsert);
        terminal.TypeExtended(kKeyRight);
      }
    });
    punches += run.cpuSeconds - entry;
    punchesWall += run.wallSeconds - entryWall;
  }
  Report("[CTRL]+[INSERT] (card stored, screen redrawn)", punches * 1e3 / (kPunchVisits * 8), "punch", 1.0);
  std::printf("%-44s %9.4f ms per punch, wall clock (disk included)\n", "",
              punchesWall * 1e3 / (kPunchVisits * 8));

  // Idle: each tick is one second of the clock; the key wait redraws clock and preview and
  // hands one frame to the terminal.
  const Run idle = Visit([](ScriptedTerminal& terminal, FixedClock& clock) {
    terminal.onIdle = [&clock](int) { clock.AdvanceSeconds(1); };
    for (int i = 0; i < kTicks; ++i) terminal.Tick();
  });
  const double perSecond = (idle.cpuSeconds - entry) / kTicks;
  std::printf("%-44s %9.4f ms per second = %.5f%% of a core (goal < 0.5%%), %.2f frames per second\n",
              "idle with the clock and preview running", perSecond * 1e3, perSecond * 100,
              static_cast<double>(idle.presents) / kTicks);
  return 0;
}
