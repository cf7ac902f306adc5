#!/bin/bash
# Roads (a function each) under every terminal a store may have: TERM = xterm-256color, xterm,
# screen, tmux-256color and linux, each in a UTF-8 locale (box pieces) and with LANG=C (ASCII
# stand-ins), in a window too small at first; keys are sent as that terminal sends them and the
# screen is checked cell by cell.
# Usage: terminal_matrix_test.sh BUILD_DIR
source "$(dirname "$0")/road.sh" "$@"
cols=70 rows=20

# The bytes each key sends, by key or by key/terminal where that terminal differs (TERM less
# "-256color"): the Linux console has no [CTRL]+[INSERT], [INSERT] alone punches there; the
# xterms send the application cursor forms of [DOWN] and [LEFT].
declare -A key_bytes=([punch]="1b 5b 32 3b 35 7e" [punch/linux]="1b 5b 32 7e" [f8]="1b 5b 31 39 7e"
  [up]="1b 5b 41" [down]="1b 5b 42" [down/xterm]="1b 4f 42" [right]="1b 5b 43" [left]="1b 5b 44"
  [left/xterm]="1b 4f 44" [enter]=0d [esc]=1b)
press() {  # key ...: each as $term sends it; other words are typed
  local key bytes
  for key; do
    bytes=${key_bytes[$key/${term%-256color}]:-${key_bytes[$key]:-}}
    if [ -n "$bytes" ]; then keys -H $bytes; else keys -l "$key"; fi
  done
}

# Whether every (row, column, text) holds on the screen now; rows and columns from 1, counted
# in characters (a box piece is one cell in the UTF-8 locale road.sh sets).
cells_are() {  # row column text [row column text ...]
  local lines line
  mapfile -t lines < <(screen_text)
  while [ $# -ge 3 ]; do
    line=${lines[$1 - 1]:-}
    [ "${line:$2 - 1:${#3}}" = "$3" ] || return 1
    shift 3
  done
}
expect_cells() {  # why row column text ...: waits up to 10 seconds for cells_are, else fails
  local why=$1 cells=("${@:2}")
  wait_until 'cells_are "${cells[@]}"' 10 || fail "$why"
}

# Every road starts here: a fresh store (ANNA in slot 1 with PIN 1234, nobody supervisor), the
# program in a window too small, enlarged once it asks, the PIN; it ends in leave_to_register.
open_punch_screen() {
  make_store --associate "1,ANNA ASSOCIATE,1234,00000042"
  start_time_clock '2012-12-15 08:59:00' TERM="$term" LANG=$lang LC_ALL=$lang
  wait_for "Please enlarge this window to at least 80 x 25" 10 || fail "no request to enlarge"
  tmx resize-window -t "$pane" -x 80 -y 25
  expect_cells "no PIN screen after enlarging" 9 28 "Enter employee PIN number." 8 21 "$double_corner"
  press 1234 enter
  expect_cells "no punch screen after the PIN" 1 15 "Associate = 00000042 ANNA ASSOCIATE" 1 63 "[F8]=Supervisor"
}

punch_road() {
  open_punch_screen
  expect_cells "the punch screen is not drawn as it should be" 1 60 "$block" 21 2 SATURDAY 2 14 "$vertical" \
    23 78 "$vertical" 24 1 "$rule" 24 78 "$corner" 25 13 "[CTRL] + [INSERT] = Punch"
  # The running time previews in the cursor slot; the punch puts it on the card.
  press punch
  expect_cells "no punch in slot 1" 21 15 " 08:59 " 21 23 "       "
  press right
  expect_cells "[RIGHT] did not move to slot 2" 21 23 " 08:59 "
  press left left
  expect_cells "[LEFT] twice did not wrap to slot 8" 21 71 " 08:59 " 21 23 "       "
  press +
  wait_for "TOT" || fail "no totals bar"
  leave_to_register
}

# [F8] (nobody is marked supervisor, so everybody may), [DOWN] [DOWN] [UP] to "2. View time
# cards", the chooser, and [ESC] back to the menu, the punch screen and the register.
supervisor_menu_road() {
  open_punch_screen
  press f8
  expect_cells "[F8] did not open the supervisor menu" \
    2 28 "$double_corner" 3 34 "Supervisor menu" 5 30 "1. Correct time punch" 17 30 "7. Quit"
  press down down up enter
  expect_cells "[DOWN] [DOWN] [UP] [ENTER] did not open \"2. View time cards\"" \
    2 61 "${double_corner}YYYYMMDD" 3 62 "20121215.CLK"
  press esc
  expect_cells "[ESC] did not lead back to the menu" 3 34 "Supervisor menu"
  press esc
  expect_cells "[ESC] on the menu did not show the punch screen" 1 15 "Associate = 00000042 ANNA ASSOCIATE" 21 2 SATURDAY
  leave_to_register
}

# "1. Correct time punch": this week's file, ANNA, [DOWN] to Saturday, a time typed, [RIGHT].
punch_correction_road() {
  open_punch_screen
  press f8
  expect_cells "no supervisor menu" 3 34 "Supervisor menu" 5 30 "1. Correct time punch"
  press enter
  expect_cells "this week's file is not listed" 3 62 "20121215.CLK"
  press enter
  expect_cells "no choice of the associate" 2 22 "Choose time card you wish to modify." 6 7 "ANNA ASSOCIATE"
  press enter
  expect_cells "no correction screen" 1 1 "TIME CARD DATE  20121215" 25 14 "Type in time"
  press down down down down down down 0830 right
  expect_cells "the correction is not shown on Saturday" 22 16 "08:30" 21 2 SATURDAY
  press esc
  expect_cells "[ESC] did not leave the correction screen" 3 34 "Supervisor menu"
  press esc
  expect_cells "no punch screen after the menu" 1 15 "Associate = 00000042 ANNA ASSOCIATE"
  leave_to_register
}

# The correction's keys are ones the other roads check everywhere: one terminal of each key table.
cases=("punch_correction_road xterm-256color utf8" "punch_correction_road linux ascii")
for road in punch_road supervisor_menu_road; do
  for term in ${MATRIX_TERMINALS:-xterm-256color xterm screen tmux-256color linux}; do
    cases+=("$road $term utf8" "$road $term ascii")
  done
done

failed=0
for case in "${cases[@]}"; do
  read -r road term locale <<<"$case"
  name=${case// /-}
  if [ "$locale" = utf8 ]; then
    lang=C.UTF-8 vertical="│" rule="─────────────┴" corner="┘" block="█" double_corner="╔"
  else
    lang=C vertical="|" rule="-------------+" corner="+" block="#" double_corner="+"
  fi
  socket=$name store=$work/$name  # a server of its own: the last one may still be going
  ("$road") && echo "ok   $name" || { echo "not ok $name"; failed=$((failed + 1)); }
  tmx kill-server 2>/dev/null
done
echo "$((${#cases[@]} - failed)) passed, $failed failed"
[ $failed -eq 0 ]
