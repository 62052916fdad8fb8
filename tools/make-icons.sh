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

# Every icon has a frame for its sizes at 100, 125, 150 and 200 % display scaling, so that none is
# stretched from another: 16 px icons at 16, 20, 24, 32; 32 px ones at 32, 40, 48, 64; 48 px ones
# at 48, 60, 72, 96.
scaled_sizes="16 20 24 32 40 48 60 64 72 96"
# pack FILE.ico FRAME.png...: frames up to 32 px uncompressed (the tray icon and the icons of the
# hidden start are among them, and the system reads these without its picture decoders), larger
# ones PNG-compressed.
pack() {
  local ico=$1 small=() large=() f w
  shift
  for f in "$@"; do
    w=$("$convert" "$f" -format '%w' info:)
    if [ "$w" -le 32 ]; then small+=("$f"); else "$convert" "$f" -depth 8 "PNG32:$f.big.png"; large+=("$f.big.png"); fi
  done
  "$convert" "${small[@]}" "$tmp/small.ico"
  python3 "$here/tools/ico-with-png.py" "$ico" "$tmp/small.ico" "${large[@]}"
}
frames=()
for size in $scaled_sizes 128; do keycap "$size" '#3d7bd9' "$tmp/app$size.png"; frames+=("$tmp/app$size.png"); done
pack "$out/Quorvel.ico" "${frames[@]}"
frames=()
for size in 16 20 24 32 40 48 64; do keycap "$size" '#2fa36b' "$tmp/tray$size.png"; frames+=("$tmp/tray$size.png"); done
pack "$out/tray.ico" "${frames[@]}"
# speaker [MUTED] FILE: the volume popup's icons (224 normal, 223 muted), drawn on a 48-unit canvas
# at 96 px, the size of the popup's 48 px icon at 200 %
speaker() {
  local f=$1 muted=${2:-} a="affine 2,0,0,2,0,0"
  local args=(-size 96x96 xc:none -fill '#2b3a55' -draw "$a polygon 6,18 16,18 28,6 28,42 16,30 6,30")
  if [ -n "$muted" ]; then
    args+=(-stroke '#d64545' -strokewidth 8 -draw "$a line 32,16 44,32" -draw "$a line 44,16 32,32")
  else
    args+=(-fill none -stroke '#3d7bd9' -strokewidth 6 -draw "$a arc 22,12 38,36 -60,60" -draw "$a arc 22,4 46,44 -60,60")
  fi
  "$convert" "${args[@]}" "$f"
}
speaker "$tmp/speaker.png"
speaker "$tmp/muted.png" muted
for n in speaker muted; do
  frames=("$tmp/$n.png")
  for s in 72 60 48 32 24 16; do "$convert" "$tmp/$n.png" -resize "${s}x${s}" "$tmp/$n-$s.png"; frames+=("$tmp/$n-$s.png"); done
  pack "$out/$n.ico" "${frames[@]}"
done
# A sheet of text: the entries of the text selector (231)
"$convert" -size 16x16 xc:none -fill white -stroke '#5a6b85' -draw "rectangle 2,1 13,14" \
  -stroke '#3d7bd9' -draw "line 4,5 11,5" -draw "line 4,8 11,8" -draw "line 4,11 9,11" "$tmp/text16.png"
"$convert" -size 32x32 xc:none -fill white -stroke '#5a6b85' -strokewidth 2 -draw "rectangle 5,2 26,29" \
  -stroke '#3d7bd9' -draw "line 9,10 22,10" -draw "line 9,16 22,16" -draw "line 9,22 18,22" "$tmp/text32.png"
for s in 20 24 40 48 64; do "$convert" "$tmp/text32.png" -filter Lanczos -resize "${s}x${s}" "$tmp/text$s.png"; done
pack "$out/textitem.ico" "$tmp/text16.png" "$tmp/text20.png" "$tmp/text24.png" "$tmp/text32.png" "$tmp/text40.png" \
  "$tmp/text48.png" "$tmp/text64.png"
echo "icons written to $out"

# ---- The icons of the dialogs and buttons ----------------------------------------------------
# Each is drawn once in ImageMagick's vector language on a 48-unit canvas and rendered at 16, 32 and
# 48 px, so every frame is drawn rather than shrunk, and all share the palette above.
navy='#1b2a4a' blue='#3d7bd9' lightblue='#6fa8ff' green='#2fa36b' lightgreen='#45c486' yellow='#ffd23f'
slate='#5a6b85' red='#d64545' lightred='#f26b6b' orange='#e8912d' violet='#6a4fc9' paper='#ffffff'
drawn() {  # drawn FILE MVG: FILE.ico in resources/ with a frame for each of the scaled sizes
  local name=$1 mvg=$2 frames=() s k
  for s in $scaled_sizes; do
    k=$(awk "BEGIN { printf \"%.5f\", $s / 48 }")
    "$convert" -size "${s}x${s}" xc:none -draw "affine $k,0,0,$k,0,0 $mvg" "$tmp/$name-$s.png"
    frames+=("$tmp/$name-$s.png")
  done
  pack "$out/$name.ico" "${frames[@]}"
}
# Pieces several icons share.
badge() { echo "fill $1 stroke none circle 24,24 24,2.5"; }        # a round coloured plate
cap="fill $navy stroke none roundrectangle 2,4 38,40 8,8 fill $blue roundrectangle 6,6 34,32 6,6"
bolt="fill $yellow stroke $navy stroke-width 1.5 polygon 22,8 11,23 19,23 15,35 29,18 21,18"
sheet="fill $paper stroke $slate stroke-width 2.5 roundrectangle 8,3 40,45 3,3"
sheetlines="stroke $blue stroke-width 3 line 14,14 34,14 line 14,22 34,22 line 14,30 27,30"
plus() { echo "stroke $1 stroke-width $2 stroke-linecap round line $3,$(( $4 - $5 )) $3,$(( $4 + $5 )) line $(( $3 - $5 )),$4 $(( $3 + $5 )),$4"; }
speakerbody="fill $navy stroke none polygon 4,18 13,18 24,8 24,40 13,30 4,30"

# The shutdown dialog: shut down, restart, sleep, log off, hibernate, close.
drawn shutdown "$(badge $red) fill none stroke white stroke-width 5 stroke-linecap round ellipse 24,26 12,12 -55,235 line 24,9 24,25"
drawn restart "$(badge $green) fill none stroke white stroke-width 5 stroke-linecap round ellipse 24,24 12,12 -10,280 fill white stroke none polygon 29,6 39,13 29,20"
drawn sleep "$(badge $blue) fill white stroke none circle 22,25 22,11 fill $blue circle 29,19 29,9 fill none stroke white stroke-width 2 stroke-linejoin round path 'M 31,12 L 37,12 L 31,19 L 37,19' path 'M 38,5 L 42,5 L 38,10 L 42,10'"
drawn logoff "$(badge $orange) fill none stroke white stroke-width 4 stroke-linejoin round path 'M 24,12 L 13,12 L 13,36 L 24,36' stroke-linecap round line 20,24 33,24 fill white stroke none polygon 39,24 31,16 31,32"
drawn hibernate "$(badge $violet) fill none stroke white stroke-width 3.5 stroke-linecap round line 24,10 24,38 line 11.9,17 36.1,31 line 11.9,31 36.1,17 stroke-width 2.5 path 'M 20,11.5 L 24,15 L 28,11.5' path 'M 20,36.5 L 24,33 L 28,36.5'"
drawn closebox "fill $red stroke none roundrectangle 2,2 46,46 9,9 $(echo stroke white stroke-width 6 stroke-linecap round line 15,15 33,33 line 33,15 15,33)"

# The main window: options, add hotkey, manage hotkeys, text shortcuts, export, import.
drawn options "stroke $slate stroke-width 8 line 24,4 24,44 line 4,24 44,24 line 9.9,9.9 38.1,38.1 line 38.1,9.9 9.9,38.1 fill $slate stroke none circle 24,24 24,9 fill #dfe6f0 circle 24,24 24,18"
drawn addhotkey "$cap $bolt fill $green stroke white stroke-width 2.5 circle 35,35 35,23 $(plus white 4 35 35 6)"
drawn managehotkeys "$cap $bolt fill $slate stroke white stroke-width 2.5 circle 35,35 35,23 stroke white stroke-width 2.5 line 30,31 40,31 line 30,35 40,35 line 30,39 40,39"
drawn textshortcuts "$sheet $sheetlines fill $yellow stroke $navy stroke-width 1.5 polygon 36,22 25,37 32,37 29,47 43,31 35,31"
drawn export "fill none stroke $navy stroke-width 4 stroke-linejoin round path 'M 5,26 L 5,43 L 43,43 L 43,26' stroke $green stroke-width 6 line 24,34 24,14 fill $green stroke none polygon 24,3 12,16 36,16"
drawn import "fill none stroke $navy stroke-width 4 stroke-linejoin round path 'M 5,26 L 5,43 L 43,43 L 43,26' stroke $blue stroke-width 6 line 24,3 24,24 fill $blue stroke none polygon 24,36 12,22 36,22"

# Small image buttons: up and down, add and remove (each with its brighter hover twin), rename, clear.
drawn up "fill none stroke $slate stroke-width 8 stroke-linecap round stroke-linejoin round path 'M 9,31 L 24,16 L 39,31'"
drawn up-hover "fill none stroke $blue stroke-width 8 stroke-linecap round stroke-linejoin round path 'M 9,31 L 24,16 L 39,31'"
drawn down "fill none stroke $slate stroke-width 8 stroke-linecap round stroke-linejoin round path 'M 9,17 L 24,32 L 39,17'"
drawn down-hover "fill none stroke $blue stroke-width 8 stroke-linecap round stroke-linejoin round path 'M 9,17 L 24,32 L 39,17'"
drawn add "$(plus $green 9 24 24 16)"
drawn add-hover "$(plus $lightgreen 9 24 24 16)"
drawn remove "stroke $red stroke-width 9 stroke-linecap round line 8,24 40,24"
drawn remove-hover "stroke $lightred stroke-width 9 stroke-linecap round line 8,24 40,24"
drawn rename "fill $yellow stroke $navy stroke-width 2.5 stroke-linejoin round polygon 8,40 11,30 33,8 40,15 18,37 fill $navy stroke none polygon 8,40 11,30 18,37 stroke $navy stroke-width 2.5 line 28,13 35,20"
drawn cleartext "fill #f4a3b4 stroke $navy stroke-width 2.5 stroke-linejoin round polygon 6,30 24,12 40,28 22,46 fill $paper polygon 6,30 15,21 31,37 22,46 stroke $slate stroke-width 3 line 26,44 44,44"

# Headers and lists: the text shortcuts header, the action editor's two headings, the action rows,
# the check boxes of the hotkey list, the general options tab and the manage hotkeys dialog.
drawn textheader "$sheet $sheetlines fill $navy stroke none roundrectangle 22,26 46,46 5,5 fill $blue roundrectangle 25,28 43,41 4,4"
drawn page "fill $paper stroke $slate stroke-width 3 roundrectangle 6,4 42,44 3,3 fill $blue stroke none rectangle 7.5,5.5 40.5,15 stroke $slate stroke-width 3 line 13,24 35,24 line 13,32 35,32"
drawn kindlist "fill $blue stroke none circle 9,12 9,7 circle 9,24 9,19 circle 9,36 9,31 stroke $slate stroke-width 5 stroke-linecap round line 19,12 42,12 line 19,24 42,24 line 19,36 42,36"
drawn action "fill $yellow stroke $navy stroke-width 3 stroke-linejoin round polygon 29,2 9,27 22,27 17,46 40,19 26,19"
drawn unchecked "fill $paper stroke $slate stroke-width 4 roundrectangle 6,6 42,42 7,7"
drawn checked "fill $blue stroke $navy stroke-width 3 roundrectangle 6,6 42,42 7,7 fill none stroke white stroke-width 6 stroke-linecap round stroke-linejoin round path 'M 14,25 L 21,32 L 35,16'"
drawn general "stroke $slate stroke-width 4 stroke-linecap round line 7,12 41,12 line 7,24 41,24 line 7,36 41,36 fill $blue stroke $navy stroke-width 2.5 circle 30,12 30,6 circle 16,24 16,18 circle 34,36 34,30"
drawn hotkeylist "$cap $bolt fill $slate stroke white stroke-width 2.5 circle 35,35 35,23 stroke white stroke-width 2.5 line 30,31 40,31 line 30,35 40,35 line 30,39 40,39"

# The action pages: volume down and up, eject and close the disc tray.
drawn volumedown "$speakerbody stroke $red stroke-width 5 stroke-linecap round line 30,24 44,24"
drawn volumeup "$speakerbody $(plus $green 5 37 24 7)"
drawn eject "fill $slate stroke none polygon 24,6 42,28 6,28 roundrectangle 6,34 42,42 2,2"
drawn closetray "fill $slate stroke none roundrectangle 6,6 42,14 2,2 polygon 6,20 42,20 24,42"
echo "dialog and button icons written to $out"
