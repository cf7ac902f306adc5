#!/bin/bash
# The road of one punch and the supervisor menu under every terminal a store may have: TERM =
# xterm-256color, xterm, screen, tmux-256color and linux, each with a UTF-8 locale (box pieces)
# and with LANG=C (ASCII stand-ins). Each run starts in a window too small, where the program
# asks for 80 x 25 and goes on once the window is enlarged; then the PIN and the road's keys,
# each sent as that terminal sends it, the screen checked cell by cell; afterwards the terminal
# settings (stty -g) are those from before and no lock file is left.
# A road is a function; add it to "roads" to run it under every terminal.
# Usage: terminal_matrix_test.sh BUILD_DIR
set -u
build=${1:?usage: $0 BUILD_DIR}
build=$(cd "$build" && pwd)
program=$build/shiftlog
for tool in tmux faketime python3; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 0; }
done
[ -x "$program" ] || { echo "FAIL: $program is missing"; exit 1; }
source "$(dirname "$0")/tmux_helpers.sh"

socket_base=shiftlog-matrix-$$
socket=$socket_base
pane=matrix
work=$(mktemp -d /tmp/shiftlog-matrix-XXXXXX)
cleanup() {
  tmx kill-server 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

terminals=(xterm-256color xterm screen tmux-256color linux)
locales=(utf8 ascii)
roads=(punch_road supervisor_menu_road)
terminals=(${MATRIX_TERMINALS:-${terminals[@]}})

failures=0
case_name=""
fail() {
  echo "FAIL [$case_name]: $*"
  echo "--- screen:"
  screen_text
  failures=$((failures + 1))
  return 1
}

# The keys as each terminal sends them. The Linux console has no [CTRL]+[INSERT]: [INSERT]
# alone punches there.
punch_key() {
  case $1 in
    linux) echo "1b 5b 32 7e" ;;
    *) echo "1b 5b 32 3b 35 7e" ;;
  esac
}
right_key() { echo "1b 5b 43"; }
up_key() { echo "1b 5b 41"; }
down_key() {
  case $1 in
    xterm*) echo "1b 4f 42" ;;
    *) echo "1b 5b 42" ;;
  esac
}
f8_key() { echo "1b 5b 31 39 7e"; }  # the same on all five
left_key() {
  case $1 in
    xterm*) echo "1b 4f 44" ;;  # the application cursor form some xterm set-ups send
    *) echo "1b 5b 44" ;;
  esac
}

# The pieces of the card's frame as the locale shows them.
frame_pieces() {
  if [ "$1" = utf8 ]; then
    vertical="│" horizontal="─" tee_up="┴" corner="┘" block="█" double_corner="╔"
  else
    vertical="|" horizontal="-" tee_up="+" corner="+" block="#" double_corner="+"
  fi
}

# A store whose register hands over to the time clock: ANNA in slot 1 with PIN 1234, nobody
# supervisor; the stand-in cash-register program notes that it was started.
make_store() {
  local store=$1
  mkdir -p "$store"
  printf '"STORE"\r\n' >"$store/TILCONFG.DAT"
  "$build/make_register_file" "$store/STORE.TIL" --associate "1,ANNA ASSOCIATE,1234,00000042" >/dev/null
  printf '#!/bin/sh\ntouch til-started\n' >"$store/TIL"
  chmod +x "$store/TIL"
}

# Starts the program in a 70 x 20 window, as a shell would: the terminal settings are noted
# before and after, and the shell says when the program has gone.
start_program() {  # store term locale
  local lang=C.UTF-8
  [ "$3" = ascii ] && lang=C
  tmx kill-server 2>/dev/null
  socket=$socket_base-$case_name  # a server of its own: the last one may still be going
  tmx new-session -d -s "$pane" -x 70 -y 20 "cd '$1' && stty -g >stty-before;
    env TERM=$2 LANG=$lang LC_ALL=$lang ASAN_OPTIONS=verify_asan_link_order=0 \
      faketime -f '@2012-12-15 08:59:00' '$program'; stty -g >stty-after; echo ROAD-ENDED; sleep 60"
}

# Too small first: the request to enlarge, then the PIN screen once the window is 80 x 25.
enlarge_to_pin_screen() {
  wait_for_text "Please enlarge this window to at least 80 x 25" 10 || fail "no request to enlarge" || return 1
  tmx resize-window -t "$pane" -x 80 -y 25
  wait_for_cells 10 9 28 "Enter employee PIN number." 8 21 "$double_corner" ||
    fail "no PIN screen after enlarging" || return 1
}

# Every road starts here: a fresh store, the program in a window too small, enlarged, the PIN.
open_punch_screen() {  # term locale
  store=$work/$case_name
  make_store "$store"
  start_program "$store" "$1" "$2"
  enlarge_to_pin_screen || return 1
  keys_text 1234
  keys_hex 0d
  wait_for_cells 5 1 15 "Associate = 00000042 ANNA ASSOCIATE" 1 63 "[F8]=Supervisor" ||
    fail "no punch screen after the PIN" || return 1
}

# And ends here: [ESC] on the punch screen has started the cash-register program, the terminal
# is as it was, and no lock file is left.
check_road_end() {
  wait_for_text ROAD-ENDED 10 || fail "the program did not end on [ESC]" || return 1
  [ -e "$store/til-started" ] || fail "the cash-register program was not started" || return 1
  cmp -s "$store/stty-before" "$store/stty-after" ||
    fail "terminal not restored: $(cat "$store/stty-before") / $(cat "$store/stty-after")" || return 1
  [ -z "$(find "$store" -name '_*')" ] || fail "a lock file was left behind" || return 1
}

punch_road() {  # term locale
  local term=$1
  open_punch_screen "$@" || return 1
  wait_for_cells 5 1 60 "$block" 21 2 SATURDAY 2 14 "$vertical" 23 78 "$vertical" \
    24 1 "$horizontal$horizontal$horizontal$horizontal$horizontal$horizontal$horizontal$horizontal$horizontal$horizontal$horizontal$horizontal$horizontal$tee_up" \
    24 78 "$corner" 25 13 "[CTRL] + [INSERT] = Punch" || fail "the punch screen is not drawn as it should be" || return 1
  # The running time previews in the cursor slot; the punch puts it on the card.
  keys_hex $(punch_key "$term")
  wait_for_cells 5 21 15 " 08:59 " 21 23 "       " || fail "no punch in slot 1" || return 1
  keys_hex $(right_key "$term")
  wait_for_cells 5 21 23 " 08:59 " || fail "[RIGHT] did not move to slot 2" || return 1
  keys_hex $(left_key "$term")
  keys_hex $(left_key "$term")
  wait_for_cells 5 21 71 " 08:59 " 21 23 "       " || fail "[LEFT] twice did not wrap to slot 8" || return 1
  keys_text +
  wait_for_text "TOT" 5 || fail "no totals bar" || return 1
  keys_hex 1b
  check_road_end || return 1
  python3 - "$store/STORE/20121215.CLK" <<'PY' || fail "the card file does not hold the punch" || return 1
import sys
card = open(sys.argv[1], "rb").read()[800:1600]  # slot 1
saturday = 32 + 5 * 48
assert card[saturday:saturday + 40] == b"08:59" + b" " * 35, card[saturday:saturday + 40]
PY
}

# [F8] to the supervisor menu (nobody is marked supervisor, so everybody may), [DOWN] twice and
# [UP] to "2. View time cards", [ENTER] to the card file chooser, [ESC] back to the menu, [ESC]
# to the punch screen, [ESC] to the cash-register program.
supervisor_menu_road() {  # term locale
  local term=$1
  open_punch_screen "$@" || return 1
  keys_hex $(f8_key "$term")
  wait_for_cells 5 2 28 "$double_corner" 3 34 "Supervisor menu" 5 30 "1. Correct time punch" 17 30 "7. Quit" ||
    fail "[F8] did not open the supervisor menu" || return 1
  keys_hex $(down_key "$term")
  keys_hex $(down_key "$term")
  keys_hex $(up_key "$term")
  keys_hex 0d
  wait_for_cells 5 2 61 "${double_corner}YYYYMMDD" 3 62 "20121215.CLK" ||
    fail "[DOWN] [DOWN] [UP] [ENTER] did not open \"2. View time cards\"" || return 1
  wait_for_text "VIEW TIME CARDS" 1 || fail "no card file chooser" || return 1
  keys_hex 1b
  wait_for_cells 5 3 34 "Supervisor menu" || fail "[ESC] did not lead back to the menu" || return 1
  keys_hex 1b
  wait_for_cells 5 1 15 "Associate = 00000042 ANNA ASSOCIATE" 21 2 SATURDAY ||
    fail "[ESC] on the menu did not show the punch screen" || return 1
  keys_hex 1b
  check_road_end
}

# "1. Correct time punch": [F8], the menu, the card file chooser, the associate, then [DOWN] to
# Saturday, a time typed and [RIGHT] to store it; [ESC] back to the menu, to the punch screen,
# to the cash-register program. The file holds the correction and its corrector.
punch_correction_road() {  # term locale
  local term=$1
  open_punch_screen "$@" || return 1
  keys_hex $(f8_key "$term")
  wait_for_cells 5 3 34 "Supervisor menu" 5 30 "1. Correct time punch" || fail "no supervisor menu" || return 1
  keys_hex 0d
  wait_for_text "MODIFY TIME PUNCHES" 5 || fail "no card file chooser for corrections" || return 1
  wait_for_cells 5 3 62 "20121215.CLK" || fail "this week's file is not listed" || return 1
  keys_hex 0d
  wait_for_cells 5 2 22 "Choose time card you wish to modify." 6 7 "ANNA ASSOCIATE" ||
    fail "no choice of the associate" || return 1
  keys_hex 0d
  wait_for_cells 5 1 1 "TIME CARD DATE  20121215" 25 14 "Type in time" || fail "no correction screen" || return 1
  for _ in 1 2 3 4 5 6; do keys_hex $(down_key "$term"); done
  keys_text 0830
  keys_hex $(right_key "$term")
  wait_for_cells 5 22 16 "08:30" 21 2 SATURDAY || fail "the correction is not shown on Saturday" || return 1
  keys_hex 1b
  wait_for_cells 5 3 34 "Supervisor menu" || fail "[ESC] did not leave the correction screen" || return 1
  keys_hex 1b
  wait_for_cells 5 1 15 "Associate = 00000042 ANNA ASSOCIATE" || fail "no punch screen after the menu" || return 1
  keys_hex 1b
  check_road_end || return 1
  python3 - "$store/STORE/20121215.CLK" <<'PY' || fail "the card file does not hold the correction" || return 1
import sys
card = open(sys.argv[1], "rb").read()[800:1600]  # slot 1
saturday = 5 * 48
assert card[312 + saturday:312 + saturday + 5] == b"08:30", card[312 + saturday:312 + saturday + 40]
assert card[592 + 48] == 1, card[592 + 48]
PY
}

# Roads that run under some of the terminals only: their keys are the ones the others check
# everywhere, so one terminal of each key table is enough.
declare -A road_cases=([punch_correction_road]="xterm-256color/utf8 linux/ascii")
roads+=(punch_correction_road)

runs=0
for road in "${roads[@]}"; do
  for term in "${terminals[@]}"; do
    for locale in "${locales[@]}"; do
      if [ -n "${road_cases[$road]:-}" ] && [[ " ${road_cases[$road]} " != *" $term/$locale "* ]]; then
        continue
      fi
      case_name="$road-$term-$locale"
      frame_pieces "$locale"
      runs=$((runs + 1))
      started=${EPOCHREALTIME/./}
      if "$road" "$term" "$locale"; then
        elapsed=$(((${EPOCHREALTIME/./} - started) / 100000))
        echo "ok   $case_name ($((elapsed / 10)).$((elapsed % 10)) s)"
      fi
    done
  done
done
tmx kill-server 2>/dev/null
echo "$((runs - failures)) passed, $failures failed"
[ $failures -eq 0 ]
