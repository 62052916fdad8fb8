#!/usr/bin/env bash
# Draws the program's icons (a key cap with a spark) into resources/. Needs ImageMagick.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
convert=/usr/bin/convert
out=$here/resources
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

keycap() {  # keycap SIZE COLOUR FILE
  local s=$1 c=$2 f=$3 e=$(( $1 - 1 ))
  "$convert" -size "${s}x${s}" xc:none \
    -fill '#1b2a4a' -draw "roundrectangle 0,0 $e,$e $((s/5)),$((s/5))" \
    -fill "$c" -draw "roundrectangle $((s/10)),$((s/12)) $((e - s/10)),$((e - s/5)) $((s/7)),$((s/7))" \
    -fill '#ffd23f' -draw "polygon $((s*56/100)),$((s*14/100)) $((s*30/100)),$((s*50/100)) $((s*48/100)),$((s*50/100)) $((s*40/100)),$((s*78/100)) $((s*70/100)),$((s*40/100)) $((s*52/100)),$((s*40/100))" \
    "$f"
}

for size in 16 24 32 48 64; do keycap "$size" '#3d7bd9' "$tmp/app$size.png"; done
"$convert" "$tmp"/app16.png "$tmp"/app24.png "$tmp"/app32.png "$tmp"/app48.png "$tmp"/app64.png "$out/Quorvel.ico"
for size in 16 32; do keycap "$size" '#2fa36b' "$tmp/tray$size.png"; done
"$convert" "$tmp"/tray16.png "$tmp"/tray32.png "$out/tray.ico"
echo "icons written to $out"
