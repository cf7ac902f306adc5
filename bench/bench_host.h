// The host the benchmarks run on: one folder is both the current folder and drive C:, and the
// cash-register program is never started.
#pragma once

#include <filesystem>
#include <optional>
#include <utility>

#include "host/host.h"

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

}  // namespace shiftlog
