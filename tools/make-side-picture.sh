#!/usr/bin/env bash
# Draws the hotkey editor's side picture (resources/hotkeyside.bmp, bitmap 211): 195 x 439 pixels,
# 24 bits per pixel, no text so it suits every language. A deep blue column with a soft light from
# the top, three key caps ("modifier + key") and a spark. Needs ImageMagick.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
convert=/usr/bin/convert
out=$here/resources/hotkeyside.bmp
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
w=195 h=439

cap() {  # cap X Y W H FACE: a key cap with a darker rim and a lighter face
  local x=$1 y=$2 cw=$3 ch=$4 face=$5
  echo "fill '#0f1a30' roundrectangle $x,$((y + 4)) $((x + cw)),$((y + ch + 4)) 10,10" \
       "fill '#e9eef7' roundrectangle $x,$y $((x + cw)),$((y + ch)) 10,10" \
       "fill '$face' roundrectangle $((x + 6)),$((y + 5)) $((x + cw - 6)),$((y + ch - 10)) 7,7"
}

"$convert" -size "${w}x${h}" gradient:'#3d6fc4-#14213d' \
  \( -size "$((w * 2))x$((h))" radial-gradient:'#8fb4f0-#000000' -crop "${w}x${h}+$((w / 2))+$((-h / 3))" +repage \
     -background black -flatten -evaluate multiply 0.45 \) -compose screen -composite \
  -fill none -stroke '#ffffff' -strokewidth 1 \
  -draw "stroke-opacity 0.10 circle 160,60 160,170" -draw "stroke-opacity 0.08 circle 20,380 20,470" \
  -stroke none \
  -draw "$(cap 28 110 139 56 '#f7f9fc')" \
  -fill '#ffd23f' -draw "rectangle 94,190 100,218" -draw "rectangle 83,201 111,207" \
  -draw "$(cap 58 236 79 72 '#f7f9fc')" \
  -draw "fill '#ffd23f' polygon 104,246 80,282 96,282 88,304 120,266 104,266" \
  -draw "fill '#ffffff' fill-opacity 0.35 rectangle 0,$((h - 1)) $w,$h" \
  -alpha off -type TrueColor "BMP3:$out"
echo "side picture written to $out"
