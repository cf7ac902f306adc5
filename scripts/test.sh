#!/usr/bin/env bash
# Builds shiftlog twice (a normal build, and one with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test in both. Installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."

"$(dirname "$0")/install-deps.sh"

jobs=$(nproc 2>/dev/null || echo 2)
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON

run_build() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DBUILD_TESTING=ON -DSHIFTLOG_WERROR=$werror "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  (cd "$dir" && ctest --output-on-failure --no-tests=error -j "$jobs")
}

echo "== normal build =="
run_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "== sanitizer build (ASan + UBSan) =="
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DSHIFTLOG_SANITIZE=ON
