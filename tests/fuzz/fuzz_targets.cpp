#include "fuzz_targets.h"

#include <cstdio>
#include <cstdlib>

namespace shiftlog::fuzz {

void FuzzCheck(bool kept, const char* promise) {
  if (kept) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", promise);
  std::abort();
}

}  // namespace shiftlog::fuzz
