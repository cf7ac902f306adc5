// A store for the fuzz entries that touch files: a temporary folder (under TMPDIR; the fuzz
// script points it at memory) with the store's folder and the folder drive C: stands for, and a
// fresh Program over them for every input.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "console/scripted_terminal.h"
#include "frame/program.h"
#include "host/host.h"

namespace shiftlog::fuzz {

class FuzzHost : public Host {
 public:
  void StartCashRegister() override {}
  std::filesystem::path CurrentFolder() override { return store; }
  std::optional<std::filesystem::path> DriveFolder(char letter) override;

  std::filesystem::path store;  // top/store
  std::filesystem::path root;   // top/root: drive C:
  std::filesystem::path drive;  // top/drive: drive F:
};

// Whole files as bytes.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);
std::string ReadFile(const std::filesystem::path& path);

class FuzzStore {
 public:
  // The one store of this process, its folders emptied, and a new Program: a scripted terminal
  // that answers "Y" to every run-time error report, and the clock at 12-15-2012 08:59:59.
  static FuzzStore& Fresh();
  ~FuzzStore();

  Program& program() { return *program_; }
  ScriptedTerminal& terminal() { return *terminal_; }
  FuzzHost host;

 private:
  FuzzStore();
  std::filesystem::path top_;
  FixedClock clock_;
  std::optional<ScriptedTerminal> terminal_;
  std::optional<Program> program_;
};

}  // namespace shiftlog::fuzz
