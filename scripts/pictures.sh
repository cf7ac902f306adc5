#!/usr/bin/env bash
# Draws the pictures of the screens in docs/pictures (shown in the README) again from the
# program's own screens, on a demo store with a fixed clock. Run it after changing a screen;
# the test run fails while a picture no longer matches the screen it shows.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$top/build"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j2 --target screen_pictures >/dev/null
mkdir -p "$top/docs/pictures"
rm -f "$top"/docs/pictures/*.svg
"$build/screen_pictures" "$top/docs/pictures"
ls -l "$top/docs/pictures"
