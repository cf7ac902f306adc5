#!/usr/bin/env bash
# End-to-end runs of the built time clock in a real terminal (tmux, 80 x 25):
#  1. started without TILCONFG.DAT: the notice shows in its double frame, the program ends
#     after two keys, and no file but TEMP.DAT appears;
#  2. started as the cash-register program starts it: TILCONFG.DAT is gone while the time clock
#     runs; [ESC] writes it back and starts the TIL found in the store's folder.
# Usage: startup_test.sh BUILD_DIR
set -euo pipefail

build="$(cd "${1:?build folder}" && pwd)"
bin="$build/shiftlog"
maker="$build/make_register_file"
work="$(mktemp -d "${TMPDIR:-/tmp}/shiftlog-e2e-XXXXXX")"
sock="shiftlog-e2e-$$-$RANDOM"

T() { tmux -L "$sock" -f /dev/null "$@"; }
cleanup() {
  T kill-server >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  T capture-pane -p -t e2e >&2 2>/dev/null || true
  exit 1
}

# A build without a terminal back end cannot run here (it says so at once, with no tty).
said="$(cd "$work" && timeout 5 setsid -w "$bin" </dev/null 2>&1 >/dev/null || true)"
if [[ "$said" == *"has no terminal"* ]]; then
  echo "skipped: this build of shiftlog has no terminal back end yet"
  exit 0
fi

start() {  # folder
  T new-session -d -s e2e -x 80 -y 25 -c "$1" \
    "env TERM=screen LANG=C.UTF-8 LC_ALL=C.UTF-8 $(printf '%q' "$bin")"
}
screen_text() { T capture-pane -p -t e2e 2>/dev/null || true; }
wait_for_text() {  # fixed text, seconds
  local deadline=$((SECONDS + ${2:-10}))
  until screen_text | grep -qF -- "$1"; do
    [ $SECONDS -lt $deadline ] || fail "no \"$1\" on the screen"
    sleep 0.1
  done
}
wait_for() {  # shell test, what, seconds
  local deadline=$((SECONDS + ${3:-10}))
  until eval "$1"; do
    [ $SECONDS -lt $deadline ] || fail "$2"
    sleep 0.1
  done
}

# 1. Not started by the cash-register program.
plain="$work/plain"
mkdir -p "$plain"
start "$plain"
wait_for_text "This program cannot be run directly"
wait_for_text "from TIL.ZIP but instead you have only opened the TIL.ZIP file."
screen_text | grep -q "╔═" || fail "the double frame is not drawn"
T send-keys -t e2e x
wait_for_text "Press any key to continue"
T has-session -t e2e 2>/dev/null || fail "the program ended after one key"
T send-keys -t e2e y
wait_for '! T has-session -t e2e 2>/dev/null' "the program did not end after the second key"
left="$(cd "$plain" && ls -A | grep -v '^TEMP.DAT$' || true)"
[ -z "$left" ] || fail "files were created: $left"

# 2. Started by the cash-register program, and back to it with [ESC].
store="$work/store"
mkdir -p "$store"
"$maker" "$store/DEMO.TIL" --associate "1,ANNA BAKER,1111,A-1001,S" --associate "2,BEN CARTER,2222,B-1002"
printf '"DEMO"\r\n' >"$store/TILCONFG.DAT"
cat >"$store/til" <<'EOF'
#!/bin/sh
echo started > TIL_STARTED
EOF
chmod +x "$store/til"
start "$store"
wait_for '[ ! -e "$store/TILCONFG.DAT" ]' "TILCONFG.DAT was not taken over"
wait_for '[ -n "$(screen_text | tr -d " \n")" ]' "nothing was drawn"
sleep 0.3
[ ! -e "$store/TILCONFG.DAT" ] || fail "TILCONFG.DAT came back while the time clock runs"
[ ! -e "$store/TIL_STARTED" ] || fail "the register was started too early"
T send-keys -t e2e Escape
wait_for '[ -e "$store/TIL_STARTED" ]' "[ESC] did not start the cash-register program"
printf '"DEMO"\r\n' | cmp -s - "$store/TILCONFG.DAT" || fail "TILCONFG.DAT was not written back as \"DEMO\" CR LF"

echo "ok"
