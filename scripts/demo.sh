#!/usr/bin/env bash
# Runs the time clock in a demo store: builds the programs when needed, sets up ./demo-store
# (a register data file with a handful of associates, and a stand-in cash-register program
# TIL) and starts the time clock there as the cash-register program would.
#
#   scripts/demo.sh            PINs: 1111 (supervisor), 2222, 3333, 4444, 5555
set -euo pipefail

top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$top/build"
store="$top/demo-store"

if [ ! -f "$build/CMakeCache.txt" ]; then
  # The demo needs only the programs; the tests configure their own build when run.
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build "$build" -j2 --target shiftlog make_register_file >/dev/null

mkdir -p "$store"
if [ ! -e "$store/DEMO.TIL" ]; then
  "$build/make_register_file" "$store/DEMO.TIL" \
    --store-id "DEMO STORE 1" \
    --associate "1,ANNA BAKER,1111,A-1001,S" \
    --associate "2,BEN CARTER,2222,B-1002" \
    --associate "3,CARLA DIAZ,3333,C-1003" \
    --associate "4,DAVID EVANS,4444,D-1004" \
    --associate "29,ERIN FOSTER,5555,E-1029"
fi

# The stand-in cash-register program. Rewritten every time: it names this checkout's build.
shiftlog_path="$(printf '%q' "$build/shiftlog")"
cat > "$store/TIL" <<EOF
#!/bin/sh
# Stand-in for the cash-register program of the demo store.
while :; do
  clear
  echo
  echo "  This is the cash register (a stand-in for the demo store)."
  echo
  echo "    T = start the time clock again"
  echo "    Q = quit"
  echo
  printf "  Your choice: "
  read -r answer || exit 0
  case "\$answer" in
    [Tt]) printf '"DEMO"\r\n' > TILCONFG.DAT
          exec $shiftlog_path ;;
    [Qq]) clear; exit 0 ;;
  esac
done
EOF
chmod +x "$store/TIL"

printf '"DEMO"\r\n' > "$store/TILCONFG.DAT"
cd "$store"
exec "$build/shiftlog"
