#!/bin/bash
# Printing from the punch screen in a real terminal: the register's printer port is "FILE:",
# so the card goes to the print file WLSDFKJN.DRY in the store's folder. A punch, then [TAB]:
# the print file holds the card with the punch, line for line, and the card is on the screen
# again as it was. Runs the built program in tmux at 80 x 25 with the clock fixed by faketime.
# Usage: print_card_test.sh BUILD_DIR
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
  tmux -L "$socket" capture-pane -p -t print 2>/dev/null
  exit 1
}

# Printing on (setting 1), the wide layout (setting 8), to the print file.
printf '"STORE"\r\n' >"$store/TILCONFG.DAT"
"$(dirname "$program")/make_register_file" "$store/STORE.TIL" \
  --associate "1,ANNA ASSOCIATE,1234,00000042" --store-id "SHOP 7" \
  --printer-port "FILE:" --printer-setting 1=1 --printer-setting 8=1 >/dev/null || fail "no register data file"
printf '#!/bin/sh\ntouch "%s/til-started"\n' "$store" >"$store/TIL"
chmod +x "$store/TIL"

wait_for() {  # text, seconds
  local deadline=$((SECONDS + $2))
  while [ $SECONDS -lt $deadline ]; do
    tmux -L "$socket" capture-pane -p -t print 2>/dev/null | grep -qF -- "$1" && return 0
    sleep 0.1
  done
  return 1
}
keys() { tmux -L "$socket" send-keys -t print "$@"; }

tmux -L "$socket" new-session -d -s print -x 80 -y 25 \
  "cd '$store' && LANG=C.UTF-8 ASAN_OPTIONS=verify_asan_link_order=0 faketime -f '@2012-12-15 08:59:00' '$program'; sleep 30" ||
  fail "tmux did not start"

wait_for "Enter employee PIN number." 10 || fail "no PIN screen"
keys 1 2 3 4 Enter
wait_for "Associate = 00000042 ANNA ASSOCIATE" 5 || fail "no punch screen"
keys C-IC
wait_for "08:59" 5 || fail "the punch is not on the screen"
before=$(tmux -L "$socket" capture-pane -p -t print | sed -n '2,24p')
keys Tab
for _ in $(seq 50); do [ -s "$store/WLSDFKJN.DRY" ] && break; sleep 0.1; done
[ -s "$store/WLSDFKJN.DRY" ] || fail "no print file after [TAB]"
sleep 0.3
after=$(tmux -L "$socket" capture-pane -p -t print | sed -n '2,24p')
[ "$before" = "$after" ] || fail "the card is not shown again as it was"

python3 - "$store/WLSDFKJN.DRY" <<'PY' || fail "the print file does not hold the card"
import sys
data = open(sys.argv[1], "rb").read()
lines = data.split(b"\r\n")
assert lines[-1] == b"", lines[-1]
lines = lines[:-1]
assert len(lines) == 35, len(lines)
assert lines[0] == b"WEEK ENDING ON 12-15-2012      ASSOCIATE: 00000042 ANNA ASSOCIATE          ", lines[0]
assert lines[1] == b" " * 17 + b"CARD # 1 " + b" " * 23 + b"STORE ID = SHOP 7      ", lines[1]
assert lines[28].startswith(b"SATURDAY    | 08:59 |       |"), lines[28]
assert all(len(line) == 77 for line in lines[2:33]), [len(line) for line in lines]
assert lines[34] == b"TIME IS DISPLAYED IN HOURS AND MINUTES", lines[34]
PY

keys Escape
for _ in $(seq 50); do [ -e "$store/til-started" ] && break; sleep 0.1; done
[ -e "$store/til-started" ] || fail "the cash-register program was not started"
echo "PASS"
