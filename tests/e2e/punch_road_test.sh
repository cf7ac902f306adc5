#!/bin/bash
# The road of one punch in a real terminal: the register hands over, a wrong PIN first, then
# the right one, [CTRL]+[INSERT], [+], [ESC]; the card file holds the punch, TILCONFG.DAT is
# written back and the cash-register program is started again. Runs the built program in tmux
# at 80 x 25 with the clock fixed by faketime.
# Usage: punch_road_test.sh BUILD_DIR
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

fail() {
  echo "FAIL: $*"
  echo "--- screen:"
  tmux -L "$socket" capture-pane -p -t road 2>/dev/null
  exit 1
}

# The register's hand-over and its data file (made by the project's own tool): slot 1 ANNA
# with PIN 1234, nobody supervisor.
printf '"STORE"\r\n' >"$store/TILCONFG.DAT"
"$(dirname "$program")/make_register_file" "$store/STORE.TIL" \
  --associate "1,ANNA ASSOCIATE,1234,00000042" >/dev/null || fail "no register data file"
# The stand-in cash-register program notes that it was started.
printf '#!/bin/sh\ntouch "%s/til-started"\n' "$store" >"$store/TIL"
chmod +x "$store/TIL"

wait_for() {  # text, seconds
  local deadline=$((SECONDS + $2))
  while [ $SECONDS -lt $deadline ]; do
    tmux -L "$socket" capture-pane -p -t road 2>/dev/null | grep -qF -- "$1" && return 0
    sleep 0.1
  done
  return 1
}
keys() { tmux -L "$socket" send-keys -t road "$@"; }

# faketime preloads its library; a sanitizer build must be told that this is fine.
tmux -L "$socket" new-session -d -s road -x 80 -y 25 \
  "cd '$store' && LANG=C.UTF-8 ASAN_OPTIONS=verify_asan_link_order=0 faketime -f '@2012-12-15 08:59:00' '$program'; sleep 30" ||
  fail "tmux did not start"

wait_for "Enter employee PIN number." 10 || fail "no PIN screen"
keys 9 9 9 Enter
wait_for "No Match" 5 || fail "a wrong PIN was not refused"
keys 1 2 3 4 Enter
wait_for "Associate = 00000042 ANNA ASSOCIATE" 5 || fail "no punch screen"
wait_for "SATURDAY" 1 || fail "no card week"
keys C-IC
sleep 0.5
keys +
wait_for "TOT" 5 || fail "no totals bar"
keys Escape
for _ in $(seq 50); do [ -e "$store/til-started" ] && break; sleep 0.1; done
[ -e "$store/til-started" ] || fail "the cash-register program was not started"

grep -q '^"STORE"' "$store/TILCONFG.DAT" || fail "TILCONFG.DAT was not written back"
card=$(find "$store" -iname 20121215.clk | head -1)
[ -n "$card" ] || fail "no card file for the week ending 12-15-2012"
python3 - "$card" <<'PY' || fail "the card file does not hold the punch"
import sys
data = open(sys.argv[1], "rb").read()
assert len(data) == 57 * 800, len(data)
card = data[800:1600]                     # slot 1
assert card[0:24] == b"ANNA ASSOCIATE".ljust(24), card[0:24]
saturday = 32 + 5 * (6 * 8)
assert card[saturday:saturday + 5] == b"08:59", card[saturday:saturday + 10]
assert card[saturday + 5:saturday + 40] == b" " * 35
PY
echo "PASS"
