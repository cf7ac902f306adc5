// Timings of the card store on the local disk: a punch written through the lock, the making of
// a week's card file, and several stations updating one week's file at once.
//   store_bench [folder] [stations] [rounds]
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_host.h"
#include "console/scripted_terminal.h"
#include "frame/program.h"
#include "store/card_record.h"
#include "store/time_card_file.h"

namespace fs = std::filesystem;
using namespace shiftlog;
using Steady = std::chrono::steady_clock;

namespace {

double Micros(Steady::duration d) {
  return std::chrono::duration<double, std::micro>(d).count();
}

double Percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(share * static_cast<double>(values.size() - 1))];
}

std::string Time(int a, int b) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", a % 24, b % 60);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path base = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
  const int stations = argc > 2 ? std::atoi(argv[2]) : 4;
  const int rounds = argc > 3 ? std::atoi(argv[3]) : 200;
  const fs::path top = MakeBenchFolder(base);
  fs::create_directories(top / "DATA");
  ScriptedTerminal terminal;
  FixedClock clock;
  BenchHost host(top);
  Program program(terminal, clock, host);
  program.store.configName = "SHOP1";
  program.store.dataPath = "C:\\DATA\\";  // shared: every update takes the lock file
  for (int slot = 1; slot <= kSlotCount; ++slot)
    program.store.associates.names[slot] = "ASSOCIATE " + std::to_string(slot);

  // Making a week's file.
  std::vector<double> creations;
  for (int week = 0; week < 50; ++week) {
    const std::string name = std::to_string(20300000 + week);
    const auto start = Steady::now();
    if (!EnsureCardFile(program.store, name)) return 2;
    creations.push_back(Micros(Steady::now() - start));
  }
  const auto created = fs::file_size(top / "DATA" / "SHOP1" / "20300000.CLK");
  std::printf("week file creation: %ju bytes written, median %.0f us, p90 %.0f us (50 files)\n",
              static_cast<uintmax_t>(created), Percentile(creations, 0.5), Percentile(creations, 0.9));

  // One punch: lock, read the header and the card, write the card, sync, unlock.
  TimeCard card;
  std::string name, id;
  if (!ReadTimeCard(program.store, card, name, 7, "20121215", id)) return 3;
  std::vector<double> punches;
  std::vector<double> writes;
  for (int i = 0; i < 500; ++i) {
    const int day = i % 7;
    const int slot = 1 + (i / 7) % 8;
    if (slot == 1 && i % 56 == 0) card = TimeCard{};
    auto start = Steady::now();
    if (!PunchTimeCard(program.store, card, name, 7, "20121215", id, day, slot, Time(i, i))) return 4;
    punches.push_back(Micros(Steady::now() - start));
    start = Steady::now();
    if (!WriteTimeCard(program.store, TimeCard{}, name, 8, "20121215", id)) return 5;
    writes.push_back(Micros(Steady::now() - start));
  }
  std::printf("punch through the lock (PunchTimeCard): median %.0f us, p90 %.0f us (500 punches)\n",
              Percentile(punches, 0.5), Percentile(punches, 0.9));
  std::printf("card write through the lock (WriteTimeCard): median %.0f us, p90 %.0f us (500 writes)\n",
              Percentile(writes, 0.5), Percentile(writes, 0.9));

  // Stations at once: each rewrites its own associate's card and punches a shared one.
  const auto start = Steady::now();
  std::vector<pid_t> children;
  for (int station = 0; station < stations; ++station) {
    const pid_t pid = fork();
    if (pid == 0) {
      TimeCard mine;
      TimeCard punched;
      std::string n, i;
      for (int round = 1; round <= rounds; ++round) {
        if (!ReadTimeCard(program.store, mine, n, 20 + station, "20401231", i)) _exit(1);
        mine.reasons[1] = "ROUND " + std::to_string(round);
        if (!WriteTimeCard(program.store, mine, n, 20 + station, "20401231", i)) _exit(2);
        // Punches go to slots 1-19, which no station rewrites whole.
        if (!PunchTimeCard(program.store, punched, n, 1 + (station * rounds + round) % 19, "20401231", i,
                           station % 7, 1 + round % 8, Time(station, round)))
          _exit(3);
      }
      _exit(0);
    }
    children.push_back(pid);
  }
  int failed = 0;
  for (pid_t pid : children) {
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failed;
  }
  const double seconds = std::chrono::duration<double>(Steady::now() - start).count();
  const fs::path stressFile = top / "DATA" / "SHOP1" / "20401231.CLK";
  std::string lastReason = "ROUND " + std::to_string(rounds);
  lastReason.resize(12, ' ');
  int whole = 0;
  TimeCard check;
  std::string n, i;
  for (int station = 0; station < stations; ++station) {
    if (ReadTimeCard(program.store, check, n, 20 + station, "20401231", i) && check.reasons[1] == lastReason)
      ++whole;
  }
  int stray = 0;
  for (const auto& entry : fs::directory_iterator(stressFile.parent_path())) {
    const std::string file = entry.path().filename().string();
    if (file[0] == '_' || file.find(".new") != std::string::npos) ++stray;
  }
  std::printf(
      "stress: %d stations x %d rounds = %d card writes + %d punches in %.2f s (%.0f updates/s); "
      "failed stations %d, own cards with their last round %d/%d, file %ju bytes, stray lock/temp files %d\n",
      stations, rounds, stations * rounds, stations * rounds, seconds, 2.0 * stations * rounds / seconds,
      failed, whole, stations, static_cast<uintmax_t>(fs::file_size(stressFile)), stray);
  fs::remove_all(top);
  return failed == 0 && whole == stations && stray == 0 ? 0 : 6;
}
