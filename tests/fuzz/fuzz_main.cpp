// The libFuzzer program of one target, named at build time by SHIFTLOG_FUZZ_TARGET.
#include <cstdint>
#include <string_view>

#include "fuzz_targets.h"

constexpr shiftlog::fuzz::FuzzEntry kEntry = [] {
  for (const auto& target : shiftlog::fuzz::kFuzzTargets)
    if (std::string_view(target.name) == SHIFTLOG_FUZZ_TARGET) return target.entry;
  return shiftlog::fuzz::FuzzEntry{nullptr};
}();
static_assert(kEntry != nullptr, "SHIFTLOG_FUZZ_TARGET names no fuzz target");

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kEntry(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
