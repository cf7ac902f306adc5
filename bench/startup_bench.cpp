// Start-up to the first screen drawn, with a full register data file (56 associates, a shared
// copy in the data path): CPU time and wall time per start. Goal: under 10 ms of CPU.
//
//   build/startup_bench [rounds]
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "console/scripted_terminal.h"
#include "frame/program.h"
#include "frame/start_up.h"
#include "store/register_file_builder.h"

namespace {

namespace fs = std::filesystem;
using namespace shiftlog;

struct Handed : std::runtime_error {
  Handed() : std::runtime_error("handed over") {}
};

class BenchHost : public Host {
 public:
  explicit BenchHost(const fs::path& top)
      : store_(top / "store"), root_(top / "root"), server_(top / "server") {}
  void StartCashRegister() override { throw Handed(); }
  fs::path CurrentFolder() override { return store_; }
  std::optional<fs::path> DriveFolder(char letter) override {
    if (letter == 'C') return root_;
    if (letter == 'F') return server_;
    return std::nullopt;
  }

 private:
  fs::path store_, root_, server_;
};

double Milliseconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  std::string pattern = (fs::temp_directory_path() / "shiftlog-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  const fs::path top = pattern;
  fs::create_directories(top / "store");
  fs::create_directories(top / "root");
  fs::create_directories(top / "server" / "STORE");

  RegisterFileBuilder builder;
  for (int slot = 1; slot <= 56; ++slot) {
    builder.SetAssociate(slot, "ASSOCIATE NUMBER " + std::to_string(slot), 1000 + slot,
                         "ID" + std::to_string(slot), slot % 10 == 0);
  }
  builder.SetStoreId("STORE 0001");
  builder.SetDisplayMode(1);
  builder.SetColourChoice(3);
  builder.SetPrinterPort("FILE:");
  builder.SetPrinterSetting(1, 1);
  builder.SetDataPath("F:\\STORE\\");
  if (!builder.WriteTo(top / "store" / "SHOP1.TIL") ||
      !builder.WriteTo(top / "server" / "STORE" / "SHOP1.TIL")) {
    return 1;
  }
  std::ofstream(top / "root" / "TIMING.DAT") << "3\r\n";

  std::vector<double> cpu, wall;
  for (int round = 0; round < rounds; ++round) {
    std::ofstream(top / "store" / "TILCONFG.DAT", std::ios::binary) << "\"SHOP1\"\r\n";
    ScriptedTerminal terminal;  // no keys: the first wait for a key ends the run
    FixedClock clock;
    BenchHost host(top);
    Program program(terminal, clock, host);
    const double cpu0 = Milliseconds(CLOCK_PROCESS_CPUTIME_ID);
    const double wall0 = Milliseconds(CLOCK_MONOTONIC);
    try {
      RunTimeClock(program);
    } catch (const ScriptExhausted&) {
    }
    cpu.push_back(Milliseconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0);
    wall.push_back(Milliseconds(CLOCK_MONOTONIC) - wall0);
    if (terminal.Presents() == 0) {
      std::fprintf(stderr, "no screen was drawn\n");
      return 1;
    }
  }
  fs::remove_all(top);

  auto report = [](const char* what, std::vector<double>& ms) {
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double m : ms) sum += m;
    std::printf("%-5s per start: median %.3f ms, mean %.3f ms, 95th %.3f ms, max %.3f ms\n", what,
                ms[ms.size() / 2], sum / static_cast<double>(ms.size()), ms[ms.size() * 95 / 100], ms.back());
  };
  std::printf("start-up to the first screen, %d rounds, 56 associates, shared copy in the data path\n",
              rounds);
  report("CPU", cpu);
  report("wall", wall);
  return 0;
}
