# What the runs of the built time clock in tmux share, sourced by a road script with its
# BUILD_DIR:    source "$(dirname "$0")/road.sh" "$@"
# It gives the program, a store folder removed afterwards ($store), one tmux server of the
# run's own, and the helpers below. A missing tool skips the run.
set -u
build=${1:?usage: $0 BUILD_DIR}
program=$(cd "$build" && pwd)/shiftlog
for tool in tmux faketime python3; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 0; }
done
[ -x "$program" ] || { echo "FAIL: $program is missing"; exit 1; }

store=$(mktemp -d /tmp/shiftlog-e2e-XXXXXX)
socket=shiftlog-e2e-$$
cleanup() {
  tmux -L "$socket" kill-server 2>/dev/null
  rm -rf "$store"
}
trap cleanup EXIT

# The screen as the associate sees it, one line per row.
screen_text() { tmux -L "$socket" capture-pane -p -t road 2>/dev/null; }

fail() {
  echo "FAIL: $*"
  echo "--- screen:"
  screen_text
  exit 1
}

# The register's hand-over for the configuration STORE, its register data file made by the
# project's own tool with the given options (--associate ..., --printer-setting ...), and a
# stand-in cash-register program that notes in til-started that it was started.
make_store() {
  printf '"STORE"\r\n' >"$store/TILCONFG.DAT"
  "$(dirname "$program")/make_register_file" "$store/STORE.TIL" "$@" >/dev/null || fail "no register data file"
  printf '#!/bin/sh\ntouch "%s/til-started"\n' "$store" >"$store/TIL"
  chmod +x "$store/TIL"
}

# Starts the time clock in the store's folder at 80 x 25 with the clock fixed at the given
# moment (YYYY-MM-DD HH:MM:SS). faketime preloads its library; a sanitizer build must be told
# that this is fine.
start_time_clock() {
  tmux -L "$socket" new-session -d -s road -x 80 -y 25 \
    "cd '$store' && LANG=C.UTF-8 ASAN_OPTIONS=verify_asan_link_order=0 faketime -f '@$1' '$program'; sleep 30" ||
    fail "tmux did not start"
}

wait_for() {  # text, seconds
  local deadline=$((SECONDS + $2))
  while [ $SECONDS -lt $deadline ]; do
    screen_text | grep -qF -- "$1" && return 0
    sleep 0.1
  done
  return 1
}

keys() { tmux -L "$socket" send-keys -t road "$@"; }

# Waits up to 5 seconds for the stand-in cash-register program to have been started.
wait_for_register() {
  for _ in $(seq 50); do
    [ -e "$store/til-started" ] && return 0
    sleep 0.1
  done
  return 1
}
