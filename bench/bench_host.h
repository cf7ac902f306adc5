// What the benchmarks share: the host they run on (one folder is both the current folder and
// drive C:, and the cash-register program is never started) and a card with every cell used.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

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
