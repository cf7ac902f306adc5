#!/bin/bash
# Saving and transmitting in a real terminal: the supervisor views last week's card file, opens
# the export dialog on card 2 with [TAB] and saves it as DATA in the card folder; then menu
# choice 4 leaves the week's DATA file in the SEND folder, named after the store ID (whose ";"
# becomes "_"). The files' bytes are checked, and the back-office command line's csv of the
# same cards must be the same bytes. Runs the built program in tmux at 80 x 25 with the clock
# fixed by faketime.
# Usage: export_road_test.sh BUILD_DIR
source "$(dirname "$0")/road.sh" "$@"

# Slot 1 ANNA is the payroll supervisor (PIN 1111), slot 2 BEN an associate. Printing is off;
# printer setting 8 = 1 gives the totals their separator.
make_store \
  --associate "1,ANNA SUPERVISOR,1111,00000001,S" \
  --associate "2,BEN ASSOCIATE,2222,00000002" \
  --store-id "SHOP 7;X" --printer-setting 8=1
# Last week's card file: BEN's Monday holds one pair of punches.
mkdir "$store/STORE"
python3 - "$store/STORE/20121208.CLK" <<'PY' || fail "no card file for last week"
import sys
records = [bytearray(b" " * 800) for _ in range(57)]
records[0][0] = 0
records[0][1:13] = b"SHOP 7;X    "
records[0][13] = 0
records[1][0:24] = b"ANNA SUPERVISOR".ljust(24)
records[1][24:32] = b"00000001"
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
wait_for "7. Quit" 5 || fail "[F8] did not open the supervisor menu"
keys 2 Enter
wait_for "VIEW TIME CARDS" 5 || fail "no card file chooser"
keys Up Enter
wait_for "TIME CARD DATE  20121208" 5 || fail "the viewer does not show last week's file"
keys PageDown
wait_for "BEN ASSOCIATE" 5 || fail "card 2 is not BEN's"
keys Tab
wait_for "EXPORT..." 5 || fail "[TAB] did not open the export dialog"
wait_for "All cards with data." 1 || fail "the dialog has no scope lines"
keys 3 Enter
wait_for "Save file as..." 5 || fail "no save dialog"
wait_for "C:12120802.TMD" 1 || fail "the proposed name is not the week's YYMMDD and the card number"
keys Enter
wait_for 'SAVED AS STORE\12120802.TMD' 5 || fail "no SAVED AS line"
keys x
wait_for "3. Save as DATA" 5 || fail "the dialog did not come back after saving"
keys Escape
wait_for "TIME CARD # 2" 5 || fail "[ESC] did not close the dialog"
keys Escape
wait_for "7. Quit" 5 || fail "[ESC] did not lead back to the menu"
keys 4 Enter
wait_for "TRANSMIT CARDS" 5 || fail "no card file chooser in transmit mode"
keys Up Enter
wait_for "saved in the /SEND folder as either..." 5 || fail "no transmit help screen"
wait_for "Data file --> SHOP 7_X20121208.CSV" 1 || fail "the preview does not name the DATA file"
keys 3 Enter
wait_for 'SAVED AS SEND\SHOP 7_X20121208.CSV' 5 || fail "no SAVED AS line for the transmit"
keys x
keys Escape
wait_for "7. Quit" 5 || fail "[ESC] did not leave the transmit menu"
keys Escape
wait_for "Associate = 00000001 ANNA SUPERVISOR" 5 || fail "Quit did not show the punch screen"
keys Escape
wait_for_register || fail "the cash-register program was not started"

saved="$store/STORE/12120802.TMD"
sent="$store/SEND/SHOP 7_X20121208.CSV"
[ -f "$saved" ] || fail "no saved file"
[ -f "$sent" ] || fail "no file in SEND"
[ "$(ls -A "$store/SEND")" = "SHOP 7_X20121208.CSV" ] || fail "SEND holds more than the transmit file"
python3 - "$saved" "$sent" <<'PY' || fail "the files' bytes are not as expected"
import sys
saved = open(sys.argv[1], "rb").read()
sent = open(sys.argv[2], "rb").read()
lines = saved.split(b"\r\n")
assert lines[0] == b"WEEK ENDING ON ,12-08-2012", lines[0]
assert lines[1] == b"ASSOCIATE: ,00000002,BEN ASSOCIATE           ", lines[1]
assert lines[2] == b"CARD #, 2 ", lines[2]
assert lines[3] == b"STORE ID = ,SHOP 7;X    ", lines[3]
assert b"\r\nMONDAY,08:00,16:30,     ,     ,     ,     ,     ,     ,\r\n" in saved
assert b"\r\n12-03-2012,     ,     ,     ,     ,     ,     ,     ,     ,08:30\r\n" in saved
assert saved.endswith(b",TOTAL TIME WORKED,08:30\r\nTIME IS DISPLAYED IN HOURS AND MINUTES\r\n")
# The week's non-blank cards: ANNA (a name, no times), then BEN's card as saved above.
assert sent.count(b"CARD #,") == 2 and sent.index(b"CARD #, 1 ") < sent.index(b"CARD #, 2 ")
assert sent.endswith(saved), "BEN's card in SEND differs from the saved one"
PY
"$program" export --store "$store" --week 20121208 >"$store/week.csv" || fail "the command line's csv export failed"
cmp -s "$store/week.csv" "$sent" || fail "the command line's csv differs from the transmitted file"
"$program" export --store "$store" --week 20121208 --slot 2 --format csv >"$store/card.csv" || fail "no csv of card 2"
cmp -s "$store/card.csv" "$saved" || fail "the command line's csv of card 2 differs from the saved file"
[ -z "$(find "$store" -name '_*' -o -name '.*.*' -o -name 'TEST.DAT')" ] || fail "a lock, temporary or test file was left behind"
echo "PASS"
