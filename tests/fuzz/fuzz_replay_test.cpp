// Every checked-in input of every fuzz target (the seeds, and each input that once crashed a
// reader) goes through its entry again, in the normal build and in the sanitizer build.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "fuzz_store.h"

namespace shiftlog::fuzz {
namespace {

TEST(FuzzReplay, EveryCheckedInInputOfEveryTargetPasses) {
  for (const FuzzTarget& target : kFuzzTargets) {
    SCOPED_TRACE(target.name);
    std::vector<fs::path> inputs;
    const fs::path folder = fs::path(SHIFTLOG_FUZZ_INPUTS) / target.name;
    for (const auto& entry : fs::directory_iterator(folder))  // a folder gone missing throws
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    EXPECT_GE(inputs.size(), 3u) << "an empty folder would pass on nothing";
    for (const fs::path& path : inputs) {
      SCOPED_TRACE(path.string());
      target.entry(ReadFile(path));  // a broken promise aborts, naming it
    }
  }
}

}  // namespace
}  // namespace shiftlog::fuzz
