// A terminal for tests and benchmarks: keys come from a queue, presented frames are kept for
// reading back as text and attributes, and a fixed clock stands still until told to move.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "console/terminal.h"
#include "host/clock.h"

namespace shiftlog {

// Thrown when a screen asks for a key after the script has run out, so a test never hangs.
struct ScriptExhausted : std::runtime_error {
  ScriptExhausted() : std::runtime_error("the scripted terminal has no more keys") {}
};

class FixedClock : public Clock {
 public:
  explicit FixedClock(LocalTime t = {2012, 12, 15, 8, 59, 59, 0}) : time_(t) {}
  LocalTime Now() override { return time_; }
  void Set(const LocalTime& t) { time_ = t; }
  // Moves the clock on by whole seconds (within one day is enough for the tests).
  void AdvanceSeconds(int seconds);

 private:
  LocalTime time_;
};

class ScriptedTerminal : public Terminal {
 public:
  // Queued keys arrive when the program waits for a key; a read that only looks (timeout 0)
  // sees none of them, except keys queued with TypeAhead, which were typed before the screen
  // asked. Tick makes one waiting read report "no key yet", as when the clock's second runs out.
  void Type(const KeyText& key) { keys_.push_back({key, false}); }
  void TypeText(const std::string& text);  // one key per character
  void TypeExtended(int scanCode) { Type(ExtendedKey(scanCode)); }
  void TypeAhead(const KeyText& key) { keys_.push_back({key, true}); }
  void Tick() { keys_.push_back({std::nullopt, false}); }
  size_t PendingKeys() const { return keys_.size(); }
  // Called for every read that reports no key, before returning (tests advance a clock here).
  std::function<void(int timeoutMs)> onIdle;

  void Present(const Frame& frame) override {
    last_ = frame;
    ++presents_;
  }
  std::optional<KeyText> ReadKey(int timeoutMs) override;
  void Beep() override { ++beeps_; }

  const Frame& LastFrame() const { return last_; }
  int Presents() const { return presents_; }
  int Beeps() const { return beeps_; }
  void ResetBeeps() { beeps_ = 0; }

  // The characters of the last frame at (row, column), length cells (code page 437 bytes).
  std::string Text(int row, int column, int length) const;
  std::string RowText(int row) const { return Text(row, 1, 80); }
  std::uint8_t Attribute(int row, int column) const { return last_.page.At(row, column).attribute; }
  std::uint8_t Character(int row, int column) const { return last_.page.At(row, column).character; }
  int Foreground(int row, int column) const { return Attribute(row, column) & 15; }
  int Background(int row, int column) const { return (Attribute(row, column) >> 4) & 7; }
  // All 25 rows, one line each: handy in failure messages.
  std::string Dump() const;

 private:
  struct Entry {
    std::optional<KeyText> key;
    bool typedAhead;
  };
  std::deque<Entry> keys_;
  Frame last_{};
  int presents_ = 0;
  int beeps_ = 0;
};

}  // namespace shiftlog
