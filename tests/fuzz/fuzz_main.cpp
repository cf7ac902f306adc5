// The libFuzzer program of one target, named at build time by SHIFTLOG_FUZZ_TARGET.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "fuzz_targets.h"

namespace {

shiftlog::fuzz::FuzzEntry Entry() {
  for (const auto& target : shiftlog::fuzz::kFuzzTargets) {
    if (std::strcmp(target.name, SHIFTLOG_FUZZ_TARGET) == 0) return target.entry;
  }
  std::fprintf(stderr, "no fuzz target named %s\n", SHIFTLOG_FUZZ_TARGET);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const shiftlog::fuzz::FuzzEntry entry = Entry();
  entry(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
