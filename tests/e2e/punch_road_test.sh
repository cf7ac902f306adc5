#!/bin/bash
# The road of one punch in a real terminal: the register hands over, a wrong PIN first, then
# the right one, [CTRL]+[INSERT], [+], [ESC]; the card file holds the punch, TILCONFG.DAT is
# written back and the cash-register program is started again. Runs the built program in tmux
# at 80 x 25 with the clock fixed by faketime.
# Usage: punch_road_test.sh BUILD_DIR
source "$(dirname "$0")/road.sh" "$@"

# The register's hand-over and its data file (made by the project's own tool): slot 1 ANNA
# with PIN 1234, nobody supervisor.
make_store \
  --associate "1,ANNA ASSOCIATE,1234,00000042"

start_time_clock '2012-12-15 08:59:00'

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
wait_for_register || fail "the cash-register program was not started"

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
