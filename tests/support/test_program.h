// A Program for tests: a scripted terminal, a fixed clock and a host whose folders live in a
// fresh temporary directory (the store's folder, and the root folder that drive C: stands for).
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "console/scripted_terminal.h"
#include "frame/program.h"
#include "host/host.h"
#include "support/fake_printers.h"

namespace shiftlog::testing {

// A temporary directory removed with everything in it when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Thrown by the test host where the real one would start the cash-register program in place
// of this one: the run ends there.
struct CashRegisterStarted : std::runtime_error {
  CashRegisterStarted() : std::runtime_error("the cash-register program was started") {}
};

class TestHost : public Host {
 public:
  explicit TestHost(const std::filesystem::path& top);
  void StartCashRegister() override;
  std::filesystem::path CurrentFolder() override { return store; }
  std::optional<std::filesystem::path> DriveFolder(char letter) override;
  PrinterPorts& Printers() override { return realPorts != nullptr ? *realPorts : printers; }

  std::filesystem::path store;  // the current folder: top/store
  std::filesystem::path root;   // what C: stands for: top/root
  std::map<char, std::filesystem::path> drives;  // further mapped letters
  bool registerCanStart = true;
  int registerStarts = 0;
  FakePrinterPorts printers;
  PrinterPorts* realPorts = nullptr;  // set: the ports printing goes to instead of the fake ones
};

// Everything a screen test needs, wired together.
struct TestProgram {
  TestProgram();
  TempFolder folder;
  ScriptedTerminal terminal;
  FixedClock clock;
  TestHost host;
  Program program;

  Console& console() { return program.console; }
  // Reads a whole file of the store folder (or any path) as bytes.
  static std::string ReadFileBytes(const std::filesystem::path& path);
  static void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);
};

}  // namespace shiftlog::testing
