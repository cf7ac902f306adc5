// The one thing the screens know about the device in front of the associate: it shows
// frames, delivers PC keys and sounds the beep. The real terminal and the scripted terminal
// of the tests both implement it.
#pragma once

#include <optional>
#include <string>

#include "console/screen.h"

namespace shiftlog {

// A key as the PC keyboard reports it: one character (code page 437), or two characters,
// code 0 followed by the scan code, for an extended key.
using KeyText = std::string;

inline KeyText ExtendedKey(int scanCode) {
  return KeyText{'\0', static_cast<char>(static_cast<unsigned char>(scanCode))};
}

class Terminal {
 public:
  virtual ~Terminal() = default;
  // Shows the frame. Only what changed since the last frame needs to reach the device.
  virtual void Present(const Frame& frame) = 0;
  // Waits up to timeoutMs for a key: 0 just looks, a negative timeout waits until a key
  // comes. Never spins.
  virtual std::optional<KeyText> ReadKey(int timeoutMs) = 0;
  virtual void Beep() = 0;
};

}  // namespace shiftlog
