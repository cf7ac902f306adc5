#!/bin/bash
# Printing from the punch screen in a real terminal: the register's printer port is "FILE:",
# so the card goes to the print file WLSDFKJN.DRY in the store's folder. A punch, then [TAB]:
# the print file holds the card with the punch, line for line, and the card is on the screen
# again as it was. Runs the built program in tmux at 80 x 25 with the clock fixed by faketime.
# Usage: print_card_test.sh BUILD_DIR
source "$(dirname "$0")/road.sh" "$@"

# Printing on (setting 1), the wide layout (setting 8), to the print file.
make_store \
  --associate "1,ANNA ASSOCIATE,1234,00000042" --store-id "SHOP 7" \
  --printer-port "FILE:" --printer-setting 1=1 --printer-setting 8=1

start_time_clock '2012-12-15 08:59:00'

wait_for "Enter employee PIN number." 10 || fail "no PIN screen"
keys 1 2 3 4 Enter
wait_for "Associate = 00000042 ANNA ASSOCIATE" 5 || fail "no punch screen"
keys C-IC
wait_for "08:59" 5 || fail "the punch is not on the screen"
before=$(screen_text | sed -n '2,24p')
keys Tab
for _ in $(seq 50); do [ -s "$store/WLSDFKJN.DRY" ] && break; sleep 0.1; done
[ -s "$store/WLSDFKJN.DRY" ] || fail "no print file after [TAB]"
sleep 0.3
after=$(screen_text | sed -n '2,24p')
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
wait_for_register || fail "the cash-register program was not started"
echo "PASS"
