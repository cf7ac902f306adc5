# Helpers for runs of the built time clock in tmux, sourced by the e2e scripts. The caller sets
# $socket (the tmux server of this run) and $pane (the session name) first.
export LC_ALL=C.UTF-8

tmx() { tmux -L "$socket" -f /dev/null "$@"; }

# The pane's text as the associate sees it, one line per row.
screen_text() { tmx capture-pane -p -t "$pane" 2>/dev/null || true; }

# Waits until the fixed text is on the screen; fails after seconds.
wait_for_text() {  # text, seconds
  local deadline=$((SECONDS + ${2:-5}))
  until screen_text | grep -qF -- "$1"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.05
  done
}

# Bytes to the program exactly as a terminal sends them, in hex: keys_hex 1b 5b 32 7e
keys_hex() { tmx send-keys -t "$pane" -H "$@"; }
keys_text() { tmx send-keys -t "$pane" -l "$1"; }

# Whether every (row, column, text) holds on the screen now; rows and columns from 1,
# counted in characters (a box piece is one cell, whatever its UTF-8 length: the helpers run
# in a UTF-8 locale, where bash counts characters).
cells_are() {  # row column text [row column text ...]
  local -a rows
  mapfile -t rows < <(screen_text)
  while [ $# -ge 3 ]; do
    local line="${rows[$1 - 1]:-}"
    [ "${line:$2 - 1:${#3}}" = "$3" ] || return 1
    shift 3
  done
}

# Waits until cells_are holds; fails after seconds (first argument).
wait_for_cells() {  # seconds row column text ...
  local deadline=$((SECONDS + $1))
  shift
  until cells_are "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.05
  done
}
