#include "fuzz_store.h"

#include <stdlib.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

namespace shiftlog::fuzz {

namespace fs = std::filesystem;

std::optional<fs::path> FuzzHost::DriveFolder(char letter) {
  if (letter == 'C') return root;
  if (letter == 'F') return drive;
  return std::nullopt;
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

FuzzStore::FuzzStore() {
  std::string pattern = (fs::temp_directory_path() / "shiftlog-fuzz-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("shiftlog fuzz: no temporary folder");
    abort();
  }
  top_ = pattern;
  host.store = top_ / "store";
  host.root = top_ / "root";
  host.drive = top_ / "drive";
}

FuzzStore::~FuzzStore() {
  program_.reset();
  std::error_code ignored;
  fs::remove_all(top_, ignored);
}

FuzzStore& FuzzStore::Fresh() {
  static FuzzStore store;
  std::error_code ignored;
  for (const fs::path& folder : {store.host.store, store.host.root, store.host.drive}) {
    fs::remove_all(folder, ignored);
    fs::create_directories(folder, ignored);
  }
  store.program_.reset();
  store.terminal_.emplace();
  for (int i = 0; i < 64; ++i) store.terminal_->Type("Y");
  store.program_.emplace(*store.terminal_, store.clock_, store.host);
  return store;
}

}  // namespace shiftlog::fuzz
