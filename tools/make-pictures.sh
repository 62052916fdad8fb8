#!/usr/bin/env bash
# Draws the skin pictures of the main window into pictures/: the background (light body between a
# dark header band and a dark footer band), the caption buttons and the large command buttons in
# their normal, hover and pressed looks. Needs ImageMagick.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
convert=/usr/bin/convert
out=$here/pictures
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"

navy='#1b2a4a' deep='#14213d' blue='#3d7bd9' glyph='#dfe6f0' red='#d64545' darkred='#b03434'
# Every picture is drawn at k times its size at 96 dpi (the program takes them as drawn for 192 dpi)
# and scaled to the window's dpi with a smoothing filter, so it stays sharp up to 200 %.
k=2

# ---- mainUI.bmp: the window background; the black pixels outside its rounded corners cut the window region.
w=$((750 * k)) h=$((550 * k)) head=$((64 * k)) foot=$((28 * k)) r=$((7 * k))
"$convert" -size "${w}x${h}" gradient:'#f7f9fc-#e3e9f1' \
  \( -size "${w}x${head}" gradient:'#2b4373-#1b2a4a' \) -geometry +0+0 -composite \
  \( -size "${w}x$((2 * k))" xc:"$blue" \) -geometry +0+"$head" -composite \
  \( -size "${w}x${foot}" gradient:"$navy-$deep" \) -geometry +0+$((h - foot)) -composite \
  -fill none -stroke "$deep" -strokewidth "$k" -draw "roundrectangle $k,$k $((w - k)),$((h - k)) $r,$r" \
  "$tmp/body.png"
# The mask is drawn without antialiasing, so outside the corners the pixels are exactly black.
"$convert" -size "${w}x${h}" xc:black +antialias -fill white -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) $r,$r" \
  "$tmp/mask.png"
"$convert" "$tmp/body.png" "$tmp/mask.png" -alpha off -compose multiply -composite -type TrueColor \
  "BMP3:$out/mainUI.bmp"

# ---- caption buttons, 32 x 24 at 96 dpi, drawn over the header band; the figures below are at 96
# dpi, the affine transformation draws them k times larger
a="affine $k,0,0,$k,0,0"
cw=$((32 * k)) ch=$((24 * k))
plate() {  # plate COLOUR OPACITY FILE: a rounded plate behind the glyph
  "$convert" -size "${cw}x${ch}" xc:none -fill "$1" -draw "$a fill-opacity $2 roundrectangle 1,1 30,22 5,5" "$3"
}
minimize() {  # minimize BACKGROUND SHIFT FILE
  "$convert" "$1" -fill "$glyph" -stroke none -draw "$a rectangle $((10 + $2)),$((15 + $2)) $((22 + $2)),$((17 + $2))" -depth 8 "PNG32:$3"
}
closeglyph() {  # closeglyph BACKGROUND COLOUR SHIFT FILE
  local s=$3
  "$convert" "$1" -fill none -stroke "$2" -strokewidth "$((2 * k))" \
    -draw "$a line $((11 + s)),$((7 + s)) $((20 + s)),$((16 + s))" -draw "$a line $((20 + s)),$((7 + s)) $((11 + s)),$((16 + s))" -depth 8 "PNG32:$4"
}
"$convert" -size "${cw}x${ch}" xc:none "$tmp/clear.png"
plate white 0.18 "$tmp/hover.png"
plate white 0.32 "$tmp/pressed.png"
plate "$red" 1 "$tmp/red.png"
plate "$darkred" 1 "$tmp/darkred.png"
minimize "$tmp/clear.png" 0 "$out/minimizebox-normal.png"
minimize "$tmp/hover.png" 0 "$out/minimizebox-hover.png"
minimize "$tmp/pressed.png" 1 "$out/minimizebox-pressed.png"
closeglyph "$tmp/clear.png" "$glyph" 0 "$out/closebox-normal.png"
closeglyph "$tmp/red.png" white 0 "$out/closebox-hover.png"
closeglyph "$tmp/darkred.png" white 1 "$out/closebox-pressed.png"

# ---- the large command buttons, 240 x 72 at 96 dpi: a light card with a soft gradient and a thin border
card() {  # card TOP BOTTOM BORDER FILE
  local cw=$((240 * k)) ch=$((72 * k)) r=$((9 * k))
  "$convert" -size "${cw}x${ch}" gradient:"$1-$2" -alpha set \
    \( -size "${cw}x${ch}" xc:none -fill white -draw "roundrectangle 0,0 $((cw - 1)),$((ch - 1)) $r,$r" \) \
    -compose DstIn -composite -compose over \
    -fill none -stroke "$3" -strokewidth "$k" -draw "roundrectangle $((k / 2)),$((k / 2)) $((cw - 1 - k / 2)),$((ch - 1 - k / 2)) $r,$r" -depth 8 "PNG32:$4"
}
card '#ffffff' '#edf2f8' '#c3cedd' "$out/btn-style1.png"
card '#f7faff' '#e2ecfb' "$blue" "$out/btn-style1-hover.png"
card '#dde8f8' '#cfdff6' '#2f63b3' "$out/btn-style1-pressed.png"
echo "pictures written to $out"
