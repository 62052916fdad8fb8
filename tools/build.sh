#!/usr/bin/env bash
# Builds the Windows program (build/win/Quorvel/, the ready program folder) and the native checks.
#   tools/build.sh [win|native|all] [TARGET...]   (default: all; the Windows build makes only the
#   named targets when some are given, e.g. Quorvel)
# The compiler's output goes to build/build.log; only a failure shows it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
what=${1:-all}
shift || true
jobs=${JOBS:-$(nproc)}
mkdir -p "$root/build"
log=$root/build/build.log
: >"$log"
step() {
  if ! "$@" >>"$log" 2>&1; then
    echo "build: failed (the whole output is in $log):" >&2
    grep -E -m 20 'error|Error' "$log" >&2 || tail -n 40 "$log" >&2
    exit 1
  fi
}
if [ "$what" = all ] || [ "$what" = native ]; then
  step cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug
  step cmake --build "$root/build/native" -j"$jobs"
fi
if [ "$what" = all ] || [ "$what" = win ]; then
  step cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"
  targets=()
  for t in "$@"; do targets+=(--target "$t"); done
  step cmake --build "$root/build/win" -j"$jobs" "${targets[@]}"
fi
echo "build: $what done"
