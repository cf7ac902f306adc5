#!/bin/bash
# Saving and transmitting: the supervisor saves card 2 of last week's file as DATA through the
# export dialog ([TAB] in the viewer), then menu choice 4 leaves the week's DATA file in SEND,
# named after the store ID (";" becomes "_"); the back-office command line's csv is the same bytes.
# Usage: export_road_test.sh BUILD_DIR
source "$(dirname "$0")/road.sh" "$@"

# Printing is off; printer setting 8 = 1 gives the totals their separator.
make_supervisor_store --store-id "SHOP 7;X" --printer-setting 8=1
start_time_clock '2012-12-15 08:59:00'
open_supervisor_menu
keys 2 Enter
wait_for "VIEW TIME CARDS" || fail "no card file chooser"
keys Up Enter
wait_for "TIME CARD DATE  20121208" || fail "the viewer does not show last week's file"
keys PageDown
wait_for "BEN ASSOCIATE" || fail "card 2 is not BEN's"
keys Tab
wait_for "EXPORT..." || fail "[TAB] did not open the export dialog"
wait_for "All cards with data." 1 || fail "the dialog has no scope lines"
keys 3 Enter
wait_for "Save file as..." || fail "no save dialog"
wait_for "C:12120802.TMD" 1 || fail "the proposed name is not the week's YYMMDD and the card number"
keys Enter
wait_for 'SAVED AS STORE\12120802.TMD' || fail "no SAVED AS line"
keys x
wait_for "3. Save as DATA" || fail "the dialog did not come back after saving"
keys Escape
wait_for "TIME CARD # 2" || fail "[ESC] did not close the dialog"
keys Escape
wait_for "7. Quit" || fail "[ESC] did not lead back to the menu"
keys 4 Enter
wait_for "TRANSMIT CARDS" || fail "no card file chooser in transmit mode"
keys Up Enter
wait_for "saved in the /SEND folder as either..." || fail "no transmit help screen"
wait_for "Data file --> SHOP 7_X20121208.CSV" 1 || fail "the preview does not name the DATA file"
keys 3 Enter
wait_for 'SAVED AS SEND\SHOP 7_X20121208.CSV' || fail "no SAVED AS line for the transmit"
keys x Escape
wait_for "7. Quit" || fail "[ESC] did not leave the transmit menu"
keys Escape
wait_for "Associate = 00000001 ANNA SUPERVISOR" || fail "Quit did not show the punch screen"
leave_to_register

saved=$store/STORE/12120802.TMD sent="$store/SEND/SHOP 7_X20121208.CSV"
[ "$(ls -A "$store/SEND")" = "SHOP 7_X20121208.CSV" ] || fail "SEND does not hold just the transmit file"
python3 - "$saved" "$sent" <<'PY' || fail "the files' bytes are not as expected"
import sys
saved, sent = (open(path, "rb").read() for path in sys.argv[1:3])
assert saved.split(b"\r\n")[0:4] == [b"WEEK ENDING ON ,12-08-2012", b"ASSOCIATE: ,00000002,BEN ASSOCIATE           ",
                                     b"CARD #, 2 ", b"STORE ID = ,SHOP 7;X    "], saved[:200]
assert b"\r\nMONDAY,08:00,16:30,     ,     ,     ,     ,     ,     ,\r\n" in saved
assert b"\r\n12-03-2012,     ,     ,     ,     ,     ,     ,     ,     ,08:30\r\n" in saved
assert saved.endswith(b",TOTAL TIME WORKED,08:30\r\nTIME IS DISPLAYED IN HOURS AND MINUTES\r\n")
# The week's non-blank cards: ANNA (a name, no times), then BEN's card as saved above.
assert sent.count(b"CARD #,") == 2 and sent.index(b"CARD #, 1 ") < sent.index(b"CARD #, 2 ")
assert sent.endswith(saved), "BEN's card in SEND differs from the saved one"
PY
"$program" export --store "$store" --week 20121208 | cmp -s - "$sent" ||
  fail "the command line's csv differs from the transmitted file"
"$program" export --store "$store" --week 20121208 --slot 2 --format csv | cmp -s - "$saved" ||
  fail "the command line's csv of card 2 differs from the saved file"
[ -z "$(find "$store" -name '_*' -o -name '.*.*')" ] || fail "the command line left a lock or temporary file behind"
echo "PASS"
