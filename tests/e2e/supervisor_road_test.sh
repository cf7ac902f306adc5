#!/bin/bash
# A supervisor's road in a real terminal: the PIN, [F8] to the supervisor menu, "2. View time
# cards", last week's card file from the chooser, paging to the next card, back to the menu,
# "1. Correct time punch" on the same week, "7. Quit" to the punch screen of this week, [ESC] to
# the cash-register program. Runs the built program in tmux at 80 x 25 with the clock fixed by
# faketime.
# Usage: supervisor_road_test.sh BUILD_DIR
source "$(dirname "$0")/road.sh" "$@"

# Slot 1 ANNA is the payroll supervisor (PIN 1111), slot 2 BEN an associate.
make_store \
  --associate "1,ANNA SUPERVISOR,1111,00000001,S" \
  --associate "2,BEN ASSOCIATE,2222,00000002"
# Last week's card file: a header and 56 blank cards; BEN's Monday holds one pair of punches.
mkdir "$store/STORE"
python3 - "$store/STORE/20121208.CLK" <<'PY' || fail "no card file for last week"
import sys
records = [bytearray(b" " * 800) for _ in range(57)]
records[0][0] = 0
records[2][0:24] = b"BEN ASSOCIATE".ljust(24)
records[2][24:32] = b"00000002"
records[2][32 + 5 * 8:32 + 5 * 8 + 10] = b"08:0016:30"
for record in records[1:]:
    record[592:648] = bytes(56)
open(sys.argv[1], "wb").write(b"".join(records))
PY

start_time_clock '2012-12-15 08:59:00'

wait_for "Enter employee PIN number." 10 || fail "no PIN screen"
keys 1 1 1 1 Enter
wait_for "[F8]=Supervisor" 5 || fail "no punch screen for the supervisor"
keys F8
wait_for "Supervisor menu" 5 || fail "[F8] did not open the supervisor menu"
wait_for "7. Quit" 1 || fail "the menu has no Quit"
keys 2 Enter
wait_for "VIEW TIME CARDS" 5 || fail "no card file chooser"
wait_for "2 Files stored. Maximum = 525" 1 || fail "the chooser does not list both weeks"
keys Up Enter
wait_for "TIME CARD DATE  20121208" 5 || fail "the viewer does not show last week's file"
wait_for "TIME CARD # 1" 1 || fail "the viewer does not start at card 1"
keys PageDown
wait_for "TIME CARD # 2" 5 || fail "[PAGE DOWN] did not show card 2"
wait_for "BEN ASSOCIATE" 1 || fail "card 2 is not BEN's"
wait_for "16:30" 1 || fail "BEN's Monday punches are missing"
wait_for "12-03-2012" 1 || fail "the viewer does not show last week's dates"
keys Escape
wait_for "Supervisor menu" 5 || fail "[ESC] did not lead back to the menu"
# "1. Correct time punch": last week, BEN's card, Monday's IN corrected to 07:55.
keys 1 Enter
wait_for "MODIFY TIME PUNCHES" 5 || fail "no card file chooser for corrections"
keys Up Enter
wait_for "Choose time card you wish to modify." 5 || fail "no choice of the associate"
keys Down Enter
wait_for "Type in time" 5 || fail "no correction screen"
keys Down 0 7 5 5 Right
wait_for "07:55" 5 || fail "the correction is not shown"
keys Escape
wait_for "Supervisor menu" 5 || fail "[ESC] did not leave the correction screen"
python3 - "$store/STORE/20121208.CLK" <<'PY' || fail "the correction is not in the card file"
import sys
card = open(sys.argv[1], "rb").read()[2 * 800:3 * 800]
assert card[312 + 5 * 8:312 + 5 * 9] == b"07:55" and card[592 + 8] == 1, card
assert card[32 + 5 * 8:32 + 5 * 10] == b"08:0016:30", card
PY
keys Escape
wait_for "Associate = 00000001 ANNA SUPERVISOR" 5 || fail "Quit did not show the punch screen"
wait_for "12-15-2012" 1 || fail "the punch screen does not show this week"
keys Escape
wait_for_register || fail "the cash-register program was not started"
[ -z "$(find "$store/STORE" -name '_*')" ] || fail "a lock file was left behind"
echo "PASS"
