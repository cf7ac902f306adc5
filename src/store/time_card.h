// The one time card in memory: the card texts of one associate's week and the day reasons.
#pragma once

#include <array>
#include <string>

namespace shiftlog {

inline constexpr int kPunchRow = 1;
inline constexpr int kCorrectionRow = 2;
inline constexpr int kCorrectorRow = 3;

struct TimeCard {
  // texts[row][day][slot]: row 1 punches, 2 corrections, 3 correctors (the corrector's slot as
  // number text); day 0-6; slot 1-8 (odd IN, even OUT). Index 0 of row and slot is unused.
  std::array<std::array<std::array<std::string, 9>, 7>, 4> texts;
  // Day reasons 1-7, 12 characters each; index 0 unused.
  std::array<std::string, 8> reasons;

  TimeCard() {
    for (auto& row : texts)
      for (auto& day : row) day.fill(std::string(5, ' '));
    reasons.fill(std::string(12, ' '));
  }
  std::string& Text(int row, int day, int slot) { return texts[row][day][slot]; }
  const std::string& Text(int row, int day, int slot) const { return texts[row][day][slot]; }
};

}  // namespace shiftlog
