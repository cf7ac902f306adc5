#!/bin/bash
# A supervisor's road: "2. View time cards" of last week, paging to card 2, back to the menu,
# "1. Correct time punch" on the same week, "7. Quit" to this week's punch screen, [ESC].
# Usage: supervisor_road_test.sh BUILD_DIR
source "$(dirname "$0")/road.sh" "$@"

make_supervisor_store
start_time_clock '2012-12-15 08:59:00'
open_supervisor_menu
keys 2 Enter
wait_for "VIEW TIME CARDS" || fail "no card file chooser"
wait_for "2 Files stored. Maximum = 525" 1 || fail "the chooser does not list both weeks"
keys Up Enter
wait_for "TIME CARD DATE  20121208" || fail "the viewer does not show last week's file"
wait_for "TIME CARD # 1" 1 || fail "the viewer does not start at card 1"
keys PageDown
wait_for "TIME CARD # 2" || fail "[PAGE DOWN] did not show card 2"
for text in "BEN ASSOCIATE" 16:30 12-03-2012; do  # BEN's name, his Monday punches, last week's dates
  wait_for "$text" 1 || fail "card 2 does not show $text"
done
keys Escape
wait_for "Supervisor menu" || fail "[ESC] did not lead back to the menu"
# "1. Correct time punch": last week, BEN's card, Monday's IN corrected to 07:55.
keys 1 Enter
wait_for "MODIFY TIME PUNCHES" || fail "no card file chooser for corrections"
keys Up Enter
wait_for "Choose time card you wish to modify." || fail "no choice of the associate"
keys Down Enter
wait_for "Type in time" || fail "no correction screen"
keys Down 0 7 5 5 Right
wait_for "07:55" || fail "the correction is not shown"
keys Escape
wait_for "Supervisor menu" || fail "[ESC] did not leave the correction screen"
python3 - "$store/STORE/20121208.CLK" <<'PY' || fail "the correction is not in the card file"
import sys
card = open(sys.argv[1], "rb").read()[2 * 800:3 * 800]
assert card[312 + 5 * 8:312 + 5 * 9] == b"07:55" and card[592 + 8] == 1, card
assert card[32 + 5 * 8:32 + 5 * 10] == b"08:0016:30", card
PY
keys Escape
wait_for "Associate = 00000001 ANNA SUPERVISOR" || fail "Quit did not show the punch screen"
wait_for "12-15-2012" 1 || fail "the punch screen does not show this week"
leave_to_register
echo "PASS"
