#!/bin/bash
# Printing to a CUPS queue from the punch screen through a scheduler this test starts itself (own
# folders and socket) with a printer of its own behind the queue (an AppSocket listener on the
# loopback address keeping every job). The register's port LPT3:, with no /dev/lp2, is the queue
# named by SHIFTLOG_PRINTER. [TAB] sends the card as one raw job; a stopped queue brings up the
# printer error screen; a refused job is never taken as printed. Exits 77 (skipped) where the
# scheduler cannot be started.
# Usage: cups_print_test.sh BUILD_DIR
source "$(dirname "$0")/road.sh" "$@"
PATH=$PATH:/usr/sbin:/sbin
for tool in cupsd lpadmin cupsdisable cupsenable cupsreject; do command -v "$tool" >/dev/null || skip "no $tool (package cups)"; done
[ -e /dev/lp2 ] && skip "this machine has a parallel port /dev/lp2, which LPT3: would reach"

chmod 755 "$work"  # the scheduler's backend may run as another user and must reach the spool
trap 'kill ${printer_pid:-} ${cupsd_pid:-} 2>/dev/null; wait; cleanup' EXIT
on_fail='echo "--- scheduler:"; tail -n 5 "$work/log/error_log" 2>/dev/null'
mkdir -p "$work"/{conf,spool,cache,state,tmp,log,jobs}
printf '%s\n' "Listen $work/cups.sock" "LogLevel warn" "Browsing Off" "WebInterface No" "DefaultAuthType None" \
  "<Location />" "Order allow,deny" "Allow all" "</Location>" \
  "<Policy default>" "<Limit All>" "Order deny,allow" "</Limit>" "</Policy>" >"$work/conf/cupsd.conf"
printf '%s\n' "ServerRoot $work/conf" "RequestRoot $work/spool" "CacheDir $work/cache" "StateDir $work/state" \
  "TempDir $work/tmp" "ErrorLog $work/log/error_log" "AccessLog $work/log/access_log" \
  "PageLog $work/log/page_log" "Printcap $work/printcap" "ServerBin /usr/lib/cups" "DataDir /usr/share/cups" \
  >"$work/conf/cups-files.conf"
cupsd -f -c "$work/conf/cupsd.conf" -s "$work/conf/cups-files.conf" >"$work/log/cupsd.out" 2>&1 &
cupsd_pid=$!
export CUPS_SERVER=$work/cups.sock
running() { lpstat -r 2>/dev/null | grep -qx "scheduler is running"; }  # lpstat -r exits 0 either way
wait_until 'running || ! kill -0 $cupsd_pid 2>/dev/null' 15
running || skip "the CUPS scheduler did not start: $(tail -n 3 "$work/log/cupsd.out" "$work/log/error_log" 2>/dev/null)"

# The printer: one file per connection, that is per job, each written aside and then renamed.
python3 - "$work/jobs" <<'PY' &
import itertools, os, socket, sys
def keep(name, data):
    with open(os.path.join(sys.argv[1], name + ".tmp"), "wb") as f:
        f.write(data)
    os.rename(os.path.join(sys.argv[1], name + ".tmp"), os.path.join(sys.argv[1], name))
listener = socket.create_server(("127.0.0.1", 0))
keep("port", str(listener.getsockname()[1]).encode())
for count in itertools.count(1):
    connection, _ = listener.accept()
    with connection:
        data = b"".join(iter(lambda: connection.recv(65536), b""))
    keep("%d.prn" % count, data)
PY
printer_pid=$!
wait_until '[ -s "$work/jobs/port" ]' || fail "the test's printer did not start"
lpadmin -p shiftlog -E -v "socket://127.0.0.1:$(cat "$work/jobs/port")" -m raw 2>/dev/null || fail "lpadmin"

punch_to_print "LPT3:" CUPS_SERVER="$CUPS_SERVER" SHIFTLOG_PRINTER=shiftlog HOME="$work"

# A ready queue: the card arrives as it was sent, and no screen comes up.
keys Tab
wait_until '[ -e "$work/jobs/1.prn" ]' 20 || fail "the job never reached the printer"
printed_card_ok "$work/jobs/1.prn" || fail "the job is not the card"
wait_for "PRINTER  ERROR!" 1 && fail "a ready queue brought up the printer error screen"

# A stopped queue: the printer error screen, with an off-line printer's status byte.
cupsdisable shiftlog || fail "cupsdisable"
keys Tab
wait_for "PRINTER  ERROR!" 15 || fail "a stopped queue did not bring up the printer error screen"
wait_for " 199 " 1 || fail "not the status byte of a printer off line"
keys 2 Enter
wait_for "Associate = 00000042 ANNA ASSOCIATE" || fail "the card is not shown again"

# A queue that refuses jobs, let through with the quick trap: the refusal is a printer error,
# and ending printing sends the card to the file NULL instead.
cupsenable shiftlog && cupsreject shiftlog || fail "cupsreject"
keys Tab
wait_for "PRINTER  ERROR!" 15 || fail "a refusing queue did not bring up the printer error screen"
keys 3 Enter
wait_for "3. Turn off quick printer error trap." 15 || fail "the refused job did not bring up the screen"
keys 2 Enter
wait_for "Associate = 00000042 ANNA ASSOCIATE" || fail "the card is not shown again"
wait_until '[ -s "$store/NULL" ]'
printed_card_ok "$store/NULL" || fail "the card given up on is not in NULL"
[ -e "$work/jobs/2.prn" ] && fail "a second job reached the printer"

leave_to_register
echo "PASS"
