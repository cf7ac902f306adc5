// Every checked-in input of every fuzz target (the seeds, and each input that once crashed a
// reader) goes through the same entry again, in the normal build and in the sanitizer build.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "fuzz_targets.h"

namespace shiftlog::fuzz {

// Names the target in test listings.
void PrintTo(const FuzzTarget& target, std::ostream* out) {
  *out << target.name;
}

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputsOf(const char* target) {
  std::vector<fs::path> inputs;
  const fs::path folder = fs::path(SHIFTLOG_FUZZ_INPUTS) / target;
  if (!fs::is_directory(folder)) return inputs;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

class FuzzReplay : public ::testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzReplay, EveryCheckedInInputPasses) {
  const std::vector<fs::path> inputs = InputsOf(GetParam().name);
  // Each target has its seeds: a folder gone missing would make this test pass on nothing.
  ASSERT_GE(inputs.size(), 3u) << GetParam().name;
  for (const fs::path& path : inputs) {
    SCOPED_TRACE(path.string());
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    GetParam().entry(bytes);  // a broken promise aborts, naming it
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(kFuzzTargets),
                         [](const ::testing::TestParamInfo<FuzzTarget>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace shiftlog::fuzz
