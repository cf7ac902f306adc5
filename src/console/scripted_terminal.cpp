#include "console/scripted_terminal.h"

namespace shiftlog {

void FixedClock::AdvanceSeconds(int seconds) {
  int total = time_.hour * 3600 + time_.minute * 60 + time_.second + seconds;
  total %= 24 * 3600;
  time_.hour = total / 3600;
  time_.minute = total / 60 % 60;
  time_.second = total % 60;
  time_.millisecond = 0;
}

void ScriptedTerminal::TypeText(const std::string& text) {
  for (char c : text) Type(KeyText(1, c));
}

std::optional<KeyText> ScriptedTerminal::ReadKey(int timeoutMs) {
  if (timeoutMs == 0) {
    if (keys_.empty() || !keys_.front().typedAhead) return std::nullopt;
  } else if (keys_.empty()) {
    throw ScriptExhausted();
  }
  std::optional<KeyText> key = keys_.front().key;
  keys_.pop_front();
  if (!key && onIdle) onIdle(timeoutMs);
  return key;
}

std::string ScriptedTerminal::Text(int row, int column, int length) const {
  std::string text;
  for (int c = column; c < column + length && c <= 80; ++c) {
    text += static_cast<char>(last_.page.At(row, c).character);
  }
  return text;
}

std::string ScriptedTerminal::Dump() const {
  std::string all;
  for (int r = 1; r <= 25; ++r) all += RowText(r) + "\n";
  return all;
}

}  // namespace shiftlog
