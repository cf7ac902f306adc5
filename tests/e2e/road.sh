# What the runs of the built time clock in tmux share: source "$(dirname "$0")/road.sh" "$@"
# gives the program, a work folder removed afterwards ($work) holding the store's folder ($store),
# a tmux server of the run's own ($socket) and the helpers below. A missing tool skips (exit 77).
set -u
export LC_ALL=C.UTF-8
program=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)/shiftlog
skip() { echo "SKIP: $*"; exit 77; }
for tool in tmux faketime python3; do command -v "$tool" >/dev/null || skip "$tool is not installed"; done
[ -x "$program" ] || { echo "FAIL: $program is missing"; exit 1; }

work=$(mktemp -d /tmp/shiftlog-e2e-XXXXXX) socket=road pane=road
store=$work/store
cleanup() { tmx kill-server 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

tmx() { tmux -S "$work/$socket.tmux" -f /dev/null "$@"; }  # its socket goes with $work
keys() { tmx send-keys -t "$pane" "$@"; }
screen_text() { tmx capture-pane -p -t "$pane" 2>/dev/null; }  # one line per row

# Says why, shows the screen (and runs $on_fail), and ends the run.
fail() { echo "FAIL: $*"; echo "--- screen:"; screen_text; eval "${on_fail:-}"; exit 1; }

wait_until() {  # test [seconds]: waits until the shell test holds; fails after seconds (5 unless given)
  local deadline=$((SECONDS + ${2:-5}))
  until eval "$1"; do [ $SECONDS -lt $deadline ] || return 1; sleep 0.05; done
}
wait_for() { local text=$1; wait_until 'screen_text | grep -qF -- "$text"' "${2:-5}"; }  # text [seconds]
wait_for_register() { wait_until '[ -e "$store/til-started" ]'; }

# The register's hand-over for the configuration STORE, its data file made by the project's own
# tool with the options given, and a stand-in cash-register program that touches til-started.
make_store() {
  mkdir -p "$store"
  printf '"STORE"\r\n' >"$store/TILCONFG.DAT"
  "$(dirname "$program")/make_register_file" "$store/STORE.TIL" "$@" >/dev/null || fail "no register data file"
  printf '#!/bin/sh\ntouch "%s/til-started"\n' "$store" >"$store/TIL"
  chmod +x "$store/TIL"
}

# Starts the time clock in the store's folder in a $cols x $rows window (80 x 25 unless set), the
# clock fixed at the moment, with the variables given; stty-before and stty-after note the terminal
# settings around it, ROAD-ENDED shows once it has gone. faketime's preload needs the ASAN option.
start_time_clock() {  # 'YYYY-MM-DD HH:MM:SS' [VAR=value ...]
  local moment=$1; shift
  tmx new-session -d -s "$pane" -x "${cols:-80}" -y "${rows:-25}" "cd '$store' && stty -g >stty-before
    env LANG=C.UTF-8 ${*:+$(printf '%q ' "$@")}ASAN_OPTIONS=verify_asan_link_order=0 faketime -f '@$moment' '$program'
    stty -g >stty-after; echo ROAD-ENDED; sleep 60" || fail "tmux did not start"
}

# The PIN screen, the PIN, and the punch screen of the associate ("00000042 ANNA ASSOCIATE").
log_in() {  # pin associate
  wait_for "Enter employee PIN number." 10 || fail "no PIN screen"
  keys "$1" Enter
  wait_for "Associate = $2" || fail "no punch screen"
}

# A store whose payroll supervisor is ANNA (slot 1, PIN 1111), BEN (slot 2) an associate, with the
# options given; last week's card file: store ID SHOP 7;X, ANNA with no punches, BEN Monday 08:00-16:30.
make_supervisor_store() {
  make_store --associate "1,ANNA SUPERVISOR,1111,00000001,S" --associate "2,BEN ASSOCIATE,2222,00000002" "$@"
  mkdir "$store/STORE"
  python3 - "$store/STORE/20121208.CLK" <<'PY' || fail "no card file for last week"
import sys
records = [bytearray(b" " * 800) for _ in range(57)]
records[0][0:14] = b"\0SHOP 7;X    \0"
records[1][0:32] = b"ANNA SUPERVISOR".ljust(24) + b"00000001"
records[2][0:32] = b"BEN ASSOCIATE".ljust(24) + b"00000002"
records[2][32 + 5 * 8:32 + 5 * 8 + 10] = b"08:0016:30"
for record in records[1:]:
    record[592:648] = bytes(56)  # no punch marked as corrected
open(sys.argv[1], "wb").write(b"".join(records))
PY
}

# [ESC] on the punch screen: the cash-register program is started, the time clock ends, the
# terminal's settings are as before, and no lock, temporary or test file is left.
leave_to_register() {
  keys Escape
  wait_for ROAD-ENDED 10 || fail "the program did not end on [ESC]"
  [ -e "$store/til-started" ] || fail "the cash-register program was not started"
  cmp -s "$store/stty-before" "$store/stty-after" ||
    fail "terminal not restored: $(cat "$store/stty-before") / $(cat "$store/stty-after")"
  [ -z "$(find "$store" -name '_*' -o -name '.*.*' -o -name TEST.DAT)" ] || fail "a lock, temporary or test file was left behind"
}

# The supervisor's PIN, then [F8] to the supervisor menu.
open_supervisor_menu() {
  log_in 1111 "00000001 ANNA SUPERVISOR"
  wait_for "[F8]=Supervisor" 1 || fail "no [F8] for the supervisor"
  keys F8
  wait_for "Supervisor menu" || fail "[F8] did not open the supervisor menu"
  wait_for "7. Quit" 1 || fail "the menu has no Quit"
}

# ANNA (slot 1, PIN 1234) punched in at 08:59 on Saturday, printing on (setting 1) in the wide
# layout (setting 8) to the port given; the time clock gets the further variables.
punch_to_print() {  # port [VAR=value ...]
  make_store --associate "1,ANNA ASSOCIATE,1234,00000042" --store-id "SHOP 7" \
    --printer-port "$1" --printer-setting 1=1 --printer-setting 8=1
  start_time_clock '2012-12-15 08:59:00' "${@:2}"
  log_in 1234 "00000042 ANNA ASSOCIATE"
  keys C-IC
  wait_for "08:59" || fail "the punch is not on the screen"
}
# Whether the file holds that card as printed, line for line.
printed_card_ok() {  # file
  python3 - "$1" <<'PY'
import sys
lines = open(sys.argv[1], "rb").read().split(b"\r\n")
assert lines[-1] == b"" and len(lines) == 36, len(lines)
assert lines[0] == b"WEEK ENDING ON 12-15-2012      ASSOCIATE: 00000042 ANNA ASSOCIATE          ", lines[0]
assert lines[1] == b" " * 17 + b"CARD # 1 " + b" " * 23 + b"STORE ID = SHOP 7      ", lines[1]
assert lines[28].startswith(b"SATURDAY    | 08:59 |       |"), lines[28]
assert all(len(line) == 77 for line in lines[2:33]), [len(line) for line in lines]
assert lines[34] == b"TIME IS DISPLAYED IN HOURS AND MINUTES", lines[34]
PY
}
