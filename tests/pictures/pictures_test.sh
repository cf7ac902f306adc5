#!/bin/bash
# The pictures of the screens in docs/pictures (shown in the README) are the screens the
# program draws now: they are drawn again into a temporary folder and compared byte for byte.
# Usage: pictures_test.sh SCREEN_PICTURES_PROGRAM PICTURES_FOLDER
set -u
tool=${1:?usage: $0 SCREEN_PICTURES_PROGRAM PICTURES_FOLDER}
pictures=${2:?usage: $0 SCREEN_PICTURES_PROGRAM PICTURES_FOLDER}
fresh=$(mktemp -d /tmp/shiftlog-pictures-test-XXXXXX)
trap 'rm -rf "$fresh"' EXIT

"$tool" "$fresh" || { echo "FAIL: screen_pictures could not draw the screens"; exit 1; }
failed=0
for picture in "$fresh"/*.svg; do
  name=$(basename "$picture")
  if ! cmp -s "$picture" "$pictures/$name"; then
    echo "FAIL: docs/pictures/$name no longer matches the screen it shows"
    failed=1
  fi
done
for picture in "$pictures"/*.svg; do
  [ -e "$picture" ] || continue
  name=$(basename "$picture")
  [ -e "$fresh/$name" ] || { echo "FAIL: docs/pictures/$name shows no screen the program draws"; failed=1; }
done
if [ $failed -ne 0 ]; then
  echo "Run scripts/pictures.sh to draw them again from the screens as they are now."
  exit 1
fi
echo "PASS: $(ls "$fresh" | wc -l) pictures match their screens"
