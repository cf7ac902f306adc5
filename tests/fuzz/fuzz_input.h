// The bytes of one fuzz input read as a small program of steps: single bytes, 16-bit numbers
// and length-prefixed pieces. Reading past the end gives zeros and empty pieces, so every
// input, however short, is a whole run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace shiftlog::fuzz {

class FuzzInput {
 public:
  explicit FuzzInput(std::string_view bytes) : rest_(bytes) {}

  bool Empty() const { return rest_.empty(); }
  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(rest_[0]);
    rest_.remove_prefix(1);
    return b;
  }
  int Number16() {
    const int high = Byte();
    return high * 256 + Byte();
  }
  // A piece of up to limit bytes, its length given by the next byte.
  std::string_view Piece(size_t limit = 255) { return Take(Byte() % (limit + 1)); }
  std::string_view Take(size_t count) {
    const std::string_view piece = rest_.substr(0, count);
    rest_.remove_prefix(piece.size());
    return piece;
  }
  std::string_view Rest() { return Take(rest_.size()); }

 private:
  std::string_view rest_;
};

}  // namespace shiftlog::fuzz
