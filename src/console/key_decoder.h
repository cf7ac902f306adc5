// Turns the bytes a terminal sends for keys into the keys of the PC keyboard: one code page
// 437 character, or code 0 and the scan code for an extended key. Knows the sequences of
// xterm and its kin (VTE, kitty, alacritty), tmux and screen, rxvt and the Linux console.
// Bytes come in with the time they were read, because a lone Esc can only be told from the
// start of a longer sequence by waiting a little.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "console/terminal.h"

namespace shiftlog {

class KeyDecoder {
 public:
  // How long an Esc with nothing after it waits before it counts as the [ESC] key.
  static constexpr int kEscapeWaitMs = 50;
  // How long a sequence that has started (Esc [ ...) waits for its remaining bytes; longer,
  // since only a slow link splits one, and giving up too early would leak it as keys.
  static constexpr int kSequenceWaitMs = 300;

  // utf8: typed text arrives as UTF-8; otherwise as Latin-1 bytes.
  explicit KeyDecoder(bool utf8 = true) : utf8_(utf8) {}

  // Takes bytes read from the terminal at nowMs (a monotonic clock in milliseconds).
  void Feed(std::string_view bytes, std::int64_t nowMs);
  // The next whole key, if there is one by nowMs.
  std::optional<KeyText> Next(std::int64_t nowMs);
  // Milliseconds from nowMs until an unfinished sequence is settled (a lone Esc becomes the
  // key, a broken sequence is dropped); -1 when nothing is waiting.
  int MillisecondsToDeadline(std::int64_t nowMs) const;
  // Makes a byte sequence stand for a key, before the built-in tables are consulted (key
  // strings a terminal description names).
  void AddSequence(const std::string& sequence, const KeyText& key);

 private:
  struct Step {
    size_t length = 0;  // bytes used; 0 = the sequence is not complete yet
    std::optional<KeyText> key;
  };
  Step DecodeOne(std::string_view bytes) const;
  Step DecodeEscape(std::string_view bytes) const;
  Step DecodeCsi(std::string_view bytes) const;
  Step DecodeSs3(std::string_view bytes) const;
  Step DecodeText(std::string_view bytes) const;
  void Decode();
  void Expire(std::int64_t nowMs);
  std::int64_t Deadline() const;

  bool utf8_;
  std::string pending_;            // bytes not yet making a whole key
  std::int64_t pendingSince_ = 0;  // when the first of them arrived
  std::deque<KeyText> keys_;
  std::map<std::string, KeyText> extra_;
};

}  // namespace shiftlog
