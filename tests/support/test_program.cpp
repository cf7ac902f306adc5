#include "support/test_program.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <system_error>

namespace shiftlog::testing {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "shiftlog-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  // Tests may leave read-only folders behind; make them writable so they can go.
  for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(path_, ec);
}

TestHost::TestHost(const fs::path& top) : store(top / "store"), root(top / "root") {
  fs::create_directories(store);
  fs::create_directories(root);
}

void TestHost::StartCashRegister() {
  ++registerStarts;
  if (registerCanStart) throw CashRegisterStarted();
}

std::optional<fs::path> TestHost::DriveFolder(char letter) {
  if (letter == 'C') return root;
  auto found = drives.find(letter);
  if (found == drives.end()) return std::nullopt;
  return found->second;
}

TestProgram::TestProgram() : host(folder.path()), program(terminal, clock, host) {}

std::string TestProgram::ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void TestProgram::WriteFileBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace shiftlog::testing
