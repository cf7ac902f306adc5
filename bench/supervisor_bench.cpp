// What the supervisor tools cost: opening the card file chooser on a full card folder (525
// weeks and 100 other files) to its drawn list, and a key in the time card viewer to its
// redrawn screen, the card read again from the file each time. Keys come from the scripted
// terminal, so the terminal's own output is left out; the store lives in a temporary folder.
//   supervisor_bench [folder]
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_host.h"
#include "cardfiles/card_file_chooser.h"
#include "console/scripted_terminal.h"
#include "console/wait_key.h"
#include "frame/program.h"
#include "store/card_record.h"
#include "supervisor/time_card_viewer.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A card folder of weeks card files (weekly names from 01-07-2000 on) and strays other files.
void FillCardFolder(const fs::path& folder, int weeks, int strays) {
  fs::create_directories(folder);
  const std::string card = EncodeHeader(CardHeader{}) + std::string(56 * 800, ' ');
  for (int i = 0; i < weeks; ++i) {
    char name[32];  // room for any int, so the compiler sees no truncation
    std::snprintf(name, sizeof name, "%04d%02d%02d.CLK", 2000 + i / 48, 1 + i / 4 % 12, 1 + 7 * (i % 4));
    WriteFile(folder / name, card);
  }
  for (int i = 0; i < strays; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, i % 2 ? "OLD%04d.CLK" : "T%07d.DAT", i);
    WriteFile(folder / name, "x");
  }
}

struct Bench {
  explicit Bench(const fs::path& top) : host(top), program(terminal, clock, host) {
    program.store.configName = "STORE";
    program.frame.thisWeekCard = "20121215";
  }
  ScriptedTerminal terminal;
  FixedClock clock;
  BenchHost host;
  Program program;
};

}  // namespace
}  // namespace shiftlog

int main(int argc, char** argv) {
  using namespace shiftlog;
  const fs::path base = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
  const fs::path top = MakeBenchFolder(base);
  FillCardFolder(top / "STORE", 525, 100);
  Bench bench(top);

  // The chooser opens, lists the folder, draws and waits for its first key; the script has
  // none, so it ends there.
  constexpr int kOpenings = 300;
  std::vector<double> wall;
  std::vector<double> cpu;
  for (int i = 0; i < kOpenings; ++i) {
    std::string chosen;
    const double wallStart = WallSeconds();
    const double cpuStart = CpuSeconds();
    try {
      ChooseCardFile(bench.program, chosen, kViewCardFile);
    } catch (const ScriptExhausted&) {
    }
    cpu.push_back(CpuSeconds() - cpuStart);
    wall.push_back(WallSeconds() - wallStart);
  }
  const std::string count = bench.terminal.Text(21, 13, 32);
  std::printf(
      "chooser open, 525 card files + 100 others   %8.3f ms wall (median, worst %.3f), %.3f ms CPU"
      " (goal < 20 ms)\n",
      Median(wall) * 1e3, *std::max_element(wall.begin(), wall.end()) * 1e3, Median(cpu) * 1e3);
  std::printf("%44s \"%s\"\n", "count line:", count.c_str());

  // The viewer on one week: entering it draws card 1; then each key reads its card from the
  // file and draws the screen again.
  bench.program.frame.cardNameInUse = "20000107";
  bench.program.frame.dateText = "01-07-2000";
  const auto run = [&bench](int keys) {
    for (int i = 0; i < keys; ++i) bench.terminal.TypeExtended(i % 2 ? kKeyPageUp : kKeyPageDown);
    const double start = CpuSeconds();
    const double wallStart = WallSeconds();
    try {
      TimeCardViewer(bench.program);
    } catch (const ScriptExhausted&) {
    }
    return std::pair<double, double>(CpuSeconds() - start, WallSeconds() - wallStart);
  };
  constexpr int kKeys = 20000;
  const auto entry = run(0);
  const int presentsBefore = bench.terminal.Presents();
  const auto paging = run(kKeys);
  const double frames = static_cast<double>(bench.terminal.Presents() - presentsBefore) / kKeys;
  std::printf(
      "viewer key to its redrawn screen (re-read)   %8.4f ms CPU per key (goal < 1 ms), %.4f ms wall,"
      " %.2f frames per key\n",
      (paging.first - entry.first) * 1e3 / kKeys, (paging.second - entry.second) * 1e3 / kKeys, frames);

  fs::remove_all(top);
  return 0;
}
