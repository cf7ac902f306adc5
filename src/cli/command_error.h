// How a command of the back-office command line fails: a one-line message for standard error
// and the exit status, 2 for a command line that asks for something impossible, 1 for a store
// that cannot be read or an output that cannot be written.
#pragma once

#include <stdexcept>
#include <string>

namespace shiftlog {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitStoreUnreadable = 1;
inline constexpr int kExitUsage = 2;

struct CommandError : std::runtime_error {
  CommandError(int exitStatus, const std::string& message)
      : std::runtime_error(message), exitStatus(exitStatus) {}
  int exitStatus;
};

inline CommandError UsageError(const std::string& message) {
  return CommandError(kExitUsage, message);
}
inline CommandError StoreError(const std::string& message) {
  return CommandError(kExitStoreUnreadable, message);
}

}  // namespace shiftlog
