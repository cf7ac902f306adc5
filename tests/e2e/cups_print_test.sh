#!/bin/bash
# Printing to a CUPS queue from the punch screen, in a real terminal, through a scheduler this
# test starts itself: its own configuration folder, local socket and spool folder, and behind
# its queue a printer of the test's own (an AppSocket listener on the loopback address that
# keeps every job it gets). The register's port is LPT3:, which with no /dev/lp2 is the queue
# named by SHIFTLOG_PRINTER. [TAB] sends the card as one raw job; a stopped queue brings up
# the printer error screen; a job the queue refuses is never taken as printed.
# Exits 77 (skipped) where the scheduler cannot be started.
# Usage: cups_print_test.sh BUILD_DIR
set -u
build=${1:?usage: $0 BUILD_DIR}
program=$(cd "$build" && pwd)/shiftlog
skip() {
  echo "SKIP: $*"
  exit 77
}
for tool in tmux faketime python3; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
PATH=$PATH:/usr/sbin:/sbin
for tool in cupsd lpadmin cupsdisable cupsenable cupsreject; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (Debian package cups)"
done
[ -x "$program" ] || { echo "FAIL: $program is missing"; exit 1; }
[ -e /dev/lp2 ] && skip "this machine has a parallel port /dev/lp2, which LPT3: would reach"

top=$(mktemp -d /tmp/shiftlog-cups-XXXXXX)
chmod 755 "$top"  # the scheduler's backend may run as another user and must reach the spool
socket=shiftlog-e2e-$$
cupsd_pid=
printer_pid=
cleanup() {
  tmux -L "$socket" kill-server 2>/dev/null
  [ -n "$printer_pid" ] && kill "$printer_pid" 2>/dev/null
  if [ -n "$cupsd_pid" ]; then
    kill "$cupsd_pid" 2>/dev/null
    wait "$cupsd_pid" 2>/dev/null
  fi
  rm -rf "$top"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  echo "--- screen:"
  tmux -L "$socket" capture-pane -p -t cups 2>/dev/null
  echo "--- scheduler:"
  tail -5 "$top/log/error_log" 2>/dev/null
  exit 1
}

mkdir -p "$top"/{conf,spool,cache,state,tmp,log,jobs,store}
cat >"$top/conf/cupsd.conf" <<CONF
Listen $top/cups.sock
LogLevel warn
Browsing Off
WebInterface No
DefaultAuthType None
<Location />
Order allow,deny
Allow all
</Location>
<Policy default>
<Limit All>
Order deny,allow
</Limit>
</Policy>
CONF
cat >"$top/conf/cups-files.conf" <<CONF
ServerRoot $top/conf
RequestRoot $top/spool
CacheDir $top/cache
StateDir $top/state
TempDir $top/tmp
ErrorLog $top/log/error_log
AccessLog $top/log/access_log
PageLog $top/log/page_log
Printcap $top/printcap
ServerBin /usr/lib/cups
DataDir /usr/share/cups
CONF
cupsd -f -c "$top/conf/cupsd.conf" -s "$top/conf/cups-files.conf" >"$top/log/cupsd.out" 2>&1 &
cupsd_pid=$!
export CUPS_SERVER=$top/cups.sock
for _ in $(seq 150); do
  lpstat -r >/dev/null 2>&1 && break
  kill -0 "$cupsd_pid" 2>/dev/null || break
  sleep 0.1
done
lpstat -r >/dev/null 2>&1 || skip "the CUPS scheduler did not start: $(tail -3 "$top/log/cupsd.out" "$top/log/error_log" 2>/dev/null)"

# The printer: one file per connection, that is per job.
python3 - "$top/jobs" <<'PY' &
import os, socket, sys
jobs = sys.argv[1]
listener = socket.socket()
listener.bind(("127.0.0.1", 0))
listener.listen(4)
with open(os.path.join(jobs, "port.tmp"), "w") as f:
    f.write(str(listener.getsockname()[1]))
os.rename(os.path.join(jobs, "port.tmp"), os.path.join(jobs, "port"))
count = 0
while True:
    connection, _ = listener.accept()
    data = b""
    while True:
        chunk = connection.recv(65536)
        if not chunk:
            break
        data += chunk
    connection.close()
    count += 1
    with open(os.path.join(jobs, "%d.tmp" % count), "wb") as f:
        f.write(data)
    os.rename(os.path.join(jobs, "%d.tmp" % count), os.path.join(jobs, "%d.prn" % count))
PY
printer_pid=$!
for _ in $(seq 50); do [ -s "$top/jobs/port" ] && break; sleep 0.1; done
[ -s "$top/jobs/port" ] || fail "the test's printer did not start"
lpadmin -p shiftlog -E -v "socket://127.0.0.1:$(cat "$top/jobs/port")" -m raw 2>/dev/null || fail "lpadmin"

store=$top/store
printf '"STORE"\r\n' >"$store/TILCONFG.DAT"
"$(dirname "$program")/make_register_file" "$store/STORE.TIL" \
  --associate "1,ANNA ASSOCIATE,1234,00000042" \
  --printer-port "LPT3:" --printer-setting 1=1 --printer-setting 8=1 >/dev/null || fail "no register data file"
printf '#!/bin/sh\ntouch "%s/til-started"\n' "$store" >"$store/TIL"
chmod +x "$store/TIL"

wait_for() {  # text, seconds
  local deadline=$((SECONDS + $2))
  while [ $SECONDS -lt $deadline ]; do
    tmux -L "$socket" capture-pane -p -t cups 2>/dev/null | grep -qF -- "$1" && return 0
    sleep 0.1
  done
  return 1
}
keys() { tmux -L "$socket" send-keys -t cups "$@"; }
card_ok() {  # file: the wide card of ANNA, 35 lines
  python3 - "$1" <<'PY'
import sys
lines = open(sys.argv[1], "rb").read().split(b"\r\n")
assert lines[-1] == b"" and len(lines) == 36, len(lines)
assert lines[0] == b"WEEK ENDING ON 12-15-2012      ASSOCIATE: 00000042 ANNA ASSOCIATE          ", lines[0]
assert all(len(line) == 77 for line in lines[2:33])
PY
}

tmux -L "$socket" new-session -d -s cups -x 80 -y 25 \
  "cd '$store' && CUPS_SERVER='$CUPS_SERVER' SHIFTLOG_PRINTER=shiftlog HOME='$top' LANG=C.UTF-8 ASAN_OPTIONS=verify_asan_link_order=0 faketime -f '@2012-12-15 08:59:00' '$program'; sleep 30" ||
  fail "tmux did not start"
wait_for "Enter employee PIN number." 10 || fail "no PIN screen"
keys 1 2 3 4 Enter
wait_for "Associate = 00000042 ANNA ASSOCIATE" 5 || fail "no punch screen"

# A ready queue: the card arrives as it was sent, and no screen comes up.
keys Tab
for _ in $(seq 200); do [ -e "$top/jobs/1.prn" ] && break; sleep 0.1; done
[ -e "$top/jobs/1.prn" ] || fail "the job never reached the printer"
card_ok "$top/jobs/1.prn" || fail "the job is not the card"
wait_for "PRINTER  ERROR!" 1 && fail "a ready queue brought up the printer error screen"

# A stopped queue: the printer error screen, with an off-line printer's status byte.
cupsdisable shiftlog || fail "cupsdisable"
keys Tab
wait_for "PRINTER  ERROR!" 15 || fail "a stopped queue did not bring up the printer error screen"
wait_for " 199 " 1 || fail "not the status byte of a printer off line"
keys 2 Enter
wait_for "Associate = 00000042 ANNA ASSOCIATE" 5 || fail "the card is not shown again"

# A queue that refuses jobs, let through with the quick trap: the refusal is a printer error,
# and ending printing sends the card to the file NULL instead.
cupsenable shiftlog && cupsreject shiftlog || fail "cupsreject"
keys Tab
wait_for "PRINTER  ERROR!" 15 || fail "a refusing queue did not bring up the printer error screen"
keys 3 Enter
wait_for "3. Turn off quick printer error trap." 15 || fail "the refused job did not bring up the screen"
keys 2 Enter
wait_for "Associate = 00000042 ANNA ASSOCIATE" 5 || fail "the card is not shown again"
for _ in $(seq 50); do [ -s "$store/NULL" ] && break; sleep 0.1; done
card_ok "$store/NULL" || fail "the card given up on is not in NULL"
[ -e "$top/jobs/2.prn" ] && fail "a second job reached the printer"

keys Escape
for _ in $(seq 50); do [ -e "$store/til-started" ] && break; sleep 0.1; done
[ -e "$store/til-started" ] || fail "the cash-register program was not started"
echo "PASS"
