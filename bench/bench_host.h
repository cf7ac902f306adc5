// What the benchmarks share: the host they run on (one folder is both the current folder and
// drive C:, and the cash-register program is never started), a fresh folder to run in, the
// clocks they read and a card with every cell used.
#pragma once

#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/host.h"
#include "store/time_card.h"

namespace shiftlog {

class BenchHost : public Host {
 public:
  explicit BenchHost(std::filesystem::path folder) : folder_(std::move(folder)) {}
  void StartCashRegister() override {}
  std::filesystem::path CurrentFolder() override { return folder_; }
  std::optional<std::filesystem::path> DriveFolder(char letter) override {
    if (letter == 'C') return folder_;
    return std::nullopt;
  }

 private:
  std::filesystem::path folder_;
};

// A new empty folder "shiftlog-bench-XXXXXX" under base; the benchmark ends when none can be made.
inline std::filesystem::path MakeBenchFolder(
    const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
  std::string pattern = (base / "shiftlog-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("mkdtemp");
    std::exit(1);
  }
  return pattern;
}

inline double ClockSeconds(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}
inline double CpuSeconds() { return ClockSeconds(CLOCK_PROCESS_CPUTIME_ID); }
inline double WallSeconds() { return ClockSeconds(CLOCK_MONOTONIC); }

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// A week in which every punch slot holds a time (varied by slot), each day has a correction
// with its corrector, and a reason holding a comma (which the DATA export quotes).
inline TimeCard FullCard(int slot = 1) {
  TimeCard card;
  for (int day = 0; day < 7; ++day) {
    for (int s = 1; s <= 8; ++s) {
      char text[8];
      std::snprintf(text, sizeof text, "%02d:%02d", 5 + 2 * s, (7 * s + slot) % 60);
      card.Text(kPunchRow, day, s) = text;
    }
    card.Text(kCorrectionRow, day, 2) = "10:30";
    card.Text(kCorrectorRow, day, 2) = "  12";
    card.reasons[static_cast<size_t>(day) + 1] = "REASON, " + std::to_string(day) + "   ";
  }
  return card;
}

}  // namespace shiftlog
