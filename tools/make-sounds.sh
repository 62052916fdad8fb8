#!/usr/bin/env bash
# Makes the program's sounds: sounds/pop.wav, the short click that confirms a volume step.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# A 70 ms tone that falls from 1200 to 500 Hz and fades out: short enough to play on every step.
sox -n -r 22050 -b 16 -c 1 "$root/sounds/pop.wav" synth 0.07 sine 1200-500 fade q 0.003 0.07 0.05 vol 0.6
echo "wrote $root/sounds/pop.wav"
