// What the program needs of the machine beyond screen, keyboard and clock: where it runs,
// what the suite's drive letters stand for, and how the cash-register program is started.
// The real host and the tests' host implement it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace shiftlog {

class Host {
 public:
  virtual ~Host() = default;
  // Starts the cash-register program in place of this one. Returns only when it could not
  // be started.
  virtual void StartCashRegister() = 0;
  // The folder the program was started in (the store's folder); relative DOS paths start here.
  virtual std::filesystem::path CurrentFolder() = 0;
  // The host folder a drive letter ('A'-'Z', upper case) stands for; nothing for a drive
  // that is not ready.
  virtual std::optional<std::filesystem::path> DriveFolder(char letter) = 0;
};

}  // namespace shiftlog
