// What a committed punch correction costs: a time typed into the correction screen and
// committed with an arrow key, that is the card record read again under the card file's lock,
// the correction written and flushed, the lock released and the screen drawn again. Keys come
// from the scripted terminal, so the terminal's own output is left out.
//
// The flush of the disk is measured on its own as well (one 800-byte record written and
// flushed), and the whole run is repeated in /dev/shm, where a flush costs nothing.
//   correction_bench [folder]
#include <fcntl.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_host.h"
#include "console/scripted_terminal.h"
#include "console/wait_key.h"
#include "frame/program.h"
#include "store/time_card_file.h"
#include "supervisor/punch_correction.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;

constexpr int kCommits = 2000;

double MedianMs(std::vector<double> seconds) { return Median(std::move(seconds)) * 1e3; }

struct Figures {
  double commitWall = 0;  // ms, median per commit
  double commitCpu = 0;   // ms, mean per commit
  double flush = 0;       // ms, median of one record written and flushed
};

// The correction screen on slot 3's card of a shared store in top: each commit types a time
// that differs from the field's last one and moves to the other field with [RIGHT] or [LEFT].
bool Measure(const fs::path& top, Figures& figures) {
  ScriptedTerminal terminal;
  FixedClock clock;
  BenchHost host(top);
  Program program(terminal, clock, host);
  program.store.configName = "STORE";
  program.store.dataPath = "C:\\";  // a shared data path: every update takes the lock file
  program.store.associates.names[3] = "BOB BAKER               ";
  program.frame.cardNameInUse = "20121215";
  program.frame.dateText = "12-15-2012";
  program.frame.loggedInSlot = 7;
  TimeCard card;
  std::string name, id;
  if (!ReadTimeCard(program.store, card, name, 3, "20121215", id)) return false;

  for (int i = 0; i < kCommits; ++i) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02d%02d", 1 + i / 60 % 23, i % 60);
    terminal.TypeText(digits);
    terminal.TypeExtended(i % 2 == 0 ? kKeyRight : kKeyLeft);
    terminal.Tick();  // marks the end of one commit
  }
  std::vector<double> marks;
  terminal.onIdle = [&marks](int) { marks.push_back(WallSeconds()); };
  const double cpuStart = CpuSeconds();
  try {
    PunchCorrection(program, 3);
  } catch (const ScriptExhausted&) {
  }
  const double cpu = CpuSeconds() - cpuStart;
  std::vector<double> commits;
  for (size_t i = 1; i < marks.size(); ++i) commits.push_back(marks[i] - marks[i - 1]);
  if (commits.empty()) return false;
  figures.commitWall = MedianMs(commits);
  figures.commitCpu = cpu * 1e3 / kCommits;

  // The last commit is on disk: a check that the screen really wrote.
  if (!ReadTimeCard(program.store, card, name, 3, "20121215", id)) return false;
  char last[8];
  std::snprintf(last, sizeof last, "%02d:%02d", 1 + (kCommits - 1) / 60 % 23, (kCommits - 1) % 60);
  if (card.Text(kCorrectionRow, 0, 2) != last) return false;

  // One flush on its own: a record written and flushed, as the close of an update does.
  const int fd = ::open((top / "STORE" / "20121215.CLK").c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  const std::string record(800, ' ');
  std::vector<double> flushes;
  for (int i = 0; i < 200; ++i) {
    const double start = WallSeconds();
    if (::pwrite(fd, record.data(), record.size(), 60 * 800) != 800 || ::fdatasync(fd) != 0) break;
    flushes.push_back(WallSeconds() - start);
  }
  ::close(fd);
  figures.flush = flushes.empty() ? 0 : MedianMs(flushes);
  return true;
}

bool MakeFolder(const fs::path& base, fs::path& top) {
  std::string pattern = (base / "shiftlog-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return false;
  top = pattern;
  return true;
}

// In /dev/shm a flush costs nothing, so its line is the commit without the flush.
void Report(const char* where, const Figures& f) {
  std::printf(
      "%-10s committed correction %7.3f ms wall (median), %.3f ms CPU; one flush alone %.3f ms"
      " (goal < 1 ms + one flush)\n",
      where, f.commitWall, f.commitCpu, f.flush);
}

}  // namespace
}  // namespace shiftlog

int main(int argc, char** argv) {
  using namespace shiftlog;
  const fs::path base = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
  std::vector<std::pair<std::string, fs::path>> places = {{base.string(), base}};
  if (fs::is_directory("/dev/shm") && base != "/dev/shm") places.push_back({"/dev/shm", "/dev/shm"});
  int result = 0;
  for (const auto& [label, folder] : places) {
    fs::path top;
    Figures figures;
    if (!MakeFolder(folder, top)) {
      std::perror(label.c_str());
      result = 1;
      continue;
    }
    if (Measure(top, figures)) {
      Report(label.c_str(), figures);
    } else {
      std::fprintf(stderr, "%s: the correction screen did not store its corrections\n", label.c_str());
      result = 1;
    }
    fs::remove_all(top);
  }
  return result;
}
