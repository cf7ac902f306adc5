#!/usr/bin/env bash
# Builds the libFuzzer programs of tests/fuzz (clang, AddressSanitizer and UBSan, in
# build-fuzz) and runs each for a bounded time from its checked-in seeds. Prints the runs and
# the coverage each reached. A crash fails the run; its input is kept in the work folder
# printed, to be checked in as tests/fuzz/<target>/crash-<name> once mended (the normal test
# run replays every file there).
#
#   scripts/fuzz.sh [TARGET...]      FUZZ_SECONDS=30 per target (default), FUZZ_JOBS=2 to build
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

seconds=${FUZZ_SECONDS:-30}
jobs=${FUZZ_JOBS:-$(nproc 2>/dev/null || echo 2)}
build=build-fuzz

cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSHIFTLOG_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j "$jobs" --target fuzzers

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for program in "$build"/tests/fuzz/fuzz_*; do targets+=("${program##*/fuzz_}"); done
fi

# The entries write their files under TMPDIR: memory when there is some, to spare the disk.
scratch=/dev/shm
[ -d "$scratch" ] && [ -w "$scratch" ] || scratch=${TMPDIR:-/tmp}
work=$(mktemp -d "$scratch/shiftlog-fuzz-run-XXXXXX")
failed=()
printf '%-15s %10s %8s %8s %8s %8s\n' target runs cov ft corpus exec/s
for target in "${targets[@]}"; do
  mkdir -p "$work/corpus/$target" "$work/tmp"
  log="$work/$target.log"
  if ! TMPDIR="$work/tmp" "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 \
    -artifact_prefix="$work/$target-" "$work/corpus/$target" "tests/fuzz/$target" >"$log" 2>&1; then
    failed+=("$target")
  fi
  # libFuzzer's last status line: "#RUNS DONE cov: N ft: N corp: N/SIZE ... exec/s: N ..."
  line=$(grep -E '^#[0-9]+[[:space:]]+(DONE|NEW|REDUCE|pulse|INITED)' "$log" | tail -1 || true)
  runs=$(sed -nE 's/^#([0-9]+).*/\1/p' <<<"$line")
  cov=$(sed -nE 's/.*cov: ([0-9]+).*/\1/p' <<<"$line")
  ft=$(sed -nE 's/.*ft: ([0-9]+).*/\1/p' <<<"$line")
  corp=$(sed -nE 's/.*corp: ([0-9]+).*/\1/p' <<<"$line")
  speed=$(sed -nE 's/.*exec\/s: ([0-9]+).*/\1/p' <<<"$line")
  printf '%-15s %10s %8s %8s %8s %8s\n' "$target" "${runs:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}" "${speed:-?}"
done

if [ ${#failed[@]} -gt 0 ]; then
  for target in "${failed[@]}"; do
    echo "== fuzz_$target failed; its log ($work/$target.log) ends:"
    tail -40 "$work/$target.log"
  done
  echo "crash inputs: $(ls "$work"/*-crash-* "$work"/*-leak-* "$work"/*-timeout-* "$work"/*-oom-* 2>/dev/null | tr '\n' ' ')"
  exit 1
fi
rm -rf "$work"
echo "fuzzing: ${#targets[@]} targets, ${seconds} s each, no crash"
