// What the fuzz entries share: their input read as a small program of steps, whole files, and a
// store in a temporary folder (under TMPDIR; the fuzz script points it at memory) holding the
// store's folder and the folders drives C: and F: stand for, with a fresh Program every input.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "console/scripted_terminal.h"
#include "frame/program.h"
#include "fuzz_targets.h"
#include "host/host.h"

namespace shiftlog::fuzz {

namespace fs = std::filesystem;

inline constexpr size_t kRecord = 800;  // a card file: the header, then a record per associate

// An input read as steps: bytes, 16-bit numbers and pieces of a length given by the next byte.
// Past its end come zeros and empty pieces, so every input, however short, is a whole run.
struct FuzzInput {
  std::string_view rest;
  std::uint8_t Byte() { return rest.empty() ? 0 : static_cast<std::uint8_t>(Take(1)[0]); }
  int Number16() {
    const int high = Byte();
    return high * 256 + Byte();
  }
  std::string_view Piece(size_t limit = 255) { return Take(Byte() % (limit + 1)); }
  std::string_view Take(size_t count) {
    const std::string_view piece = rest.substr(0, count);
    rest.remove_prefix(piece.size());
    return piece;
  }
};

inline void WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct FuzzStore : Host {
  // The one store of this process, its folders emptied, and a new Program: a scripted terminal
  // that answers "Y" to every run-time error report, and the clock at 12-15-2012 08:59:59.
  static FuzzStore& Fresh() {
    static FuzzStore store;
    for (const fs::path& folder : {store.folder, store.root, store.drive}) {
      fs::remove_all(folder, store.ignored);
      fs::create_directories(folder, store.ignored);
    }
    store.program.reset();
    store.terminal.emplace();
    for (int i = 0; i < 64; ++i) store.terminal->Type("Y");
    store.program.emplace(*store.terminal, store.clock, store);
    return store;
  }
  ~FuzzStore() override {
    program.reset();
    fs::remove_all(top, ignored);
  }
  static fs::path MadeTop() {
    std::string top = (fs::temp_directory_path() / "shiftlog-fuzz-XXXXXX").string();
    FuzzCheck(mkdtemp(top.data()) != nullptr, "a temporary folder is made");
    return top;
  }

  void StartCashRegister() override {}
  fs::path CurrentFolder() override { return folder; }
  std::optional<fs::path> DriveFolder(char letter) override {
    return letter == 'C' ? std::optional(root) : letter == 'F' ? std::optional(drive) : std::nullopt;
  }

  // Card file 20121215.CLK of store SHOP1 holding bytes, in the store's folder or (dataPath) in
  // C:\DATA\; gives its path.
  fs::path PutCardFile(std::string_view bytes, bool dataPath) {
    program->store.configName = "SHOP1";
    program->store.dataPath = dataPath ? "C:\\DATA\\" : "";
    const fs::path cards = (dataPath ? root / "DATA" : folder) / "SHOP1";
    fs::create_directories(cards);
    WriteFile(cards / "20121215.CLK", bytes);
    return cards / "20121215.CLK";
  }
  static void CheckNothingBeside(const fs::path& file) {
    for (const auto& entry : fs::directory_iterator(file.parent_path()))
      FuzzCheck(entry.path().filename() == file.filename(), "no lock or temporary file stays");
  }

  // The store's folder (the current folder), the folders of drives C: and F:.
  fs::path top = MadeTop(), folder = top / "store", root = top / "root", drive = top / "drive";
  std::error_code ignored;
  FixedClock clock;
  std::optional<ScriptedTerminal> terminal;
  std::optional<Program> program;
};

}  // namespace shiftlog::fuzz
