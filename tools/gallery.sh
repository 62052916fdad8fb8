#!/usr/bin/env bash
# Builds the control gallery and writes its pictures: build/win/shots/gallery/controls.png (buttons,
# headers, lines, links, the language list over the skin) and listview.png (every kind of list cell).
# Run after the Windows build is configured (tools/build.sh win).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath "${1:-$root/build/win}")
cmake --build "$build" --target quorvel_gallery -j2
shots=$build/shots/gallery
mkdir -p "$shots"
"$root/tools/wine-run.sh" "$build/quorvel_gallery.exe" "Z:$(echo "$shots" | tr / '\\')"
ls -l "$shots"
