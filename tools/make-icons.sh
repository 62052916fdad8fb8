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
# speaker [MUTED] FILE: the volume popup's icons (224 normal, 223 muted), drawn at 48 px
speaker() {
  local f=$1 muted=${2:-}
  local args=(-size 48x48 xc:none -fill '#2b3a55' -draw "polygon 6,18 16,18 28,6 28,42 16,30 6,30")
  if [ -n "$muted" ]; then
    args+=(-stroke '#d64545' -strokewidth 4 -draw "line 32,16 44,32" -draw "line 44,16 32,32")
  else
    args+=(-fill none -stroke '#3d7bd9' -strokewidth 3 -draw "arc 22,12 38,36 -60,60" -draw "arc 22,4 46,44 -60,60")
  fi
  "$convert" "${args[@]}" "$f"
}
speaker "$tmp/speaker.png"
speaker "$tmp/muted.png" muted
for n in speaker muted; do
  "$convert" "$tmp/$n.png" \( -clone 0 -resize 32x32 \) \( -clone 0 -resize 16x16 \) "$out/$n.ico"
done
# A sheet of text: the entries of the text selector (231)
"$convert" -size 16x16 xc:none -fill white -stroke '#5a6b85' -draw "rectangle 2,1 13,14" \
  -stroke '#3d7bd9' -draw "line 4,5 11,5" -draw "line 4,8 11,8" -draw "line 4,11 9,11" "$tmp/text16.png"
"$convert" -size 32x32 xc:none -fill white -stroke '#5a6b85' -strokewidth 2 -draw "rectangle 5,2 26,29" \
  -stroke '#3d7bd9' -draw "line 9,10 22,10" -draw "line 9,16 22,16" -draw "line 9,22 18,22" "$tmp/text32.png"
"$convert" "$tmp/text16.png" "$tmp/text32.png" "$out/textitem.ico"
echo "icons written to $out"
