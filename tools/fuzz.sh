#!/usr/bin/env bash
# Open-ended fuzzing with clang's libFuzzer: tools/fuzz.sh TARGET [SECONDS]
# TARGET is a name from tests/fuzz/fuzz_TARGET.cpp. Crashes land in build/fuzz/TARGET-crashes/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
target=${1:?usage: tools/fuzz.sh TARGET [SECONDS]}
seconds=${2:-60}
out=$root/build/fuzz
mkdir -p "$out/$target-corpus" "$out/$target-crashes"
mapfile -t core < <(sed -n '/^set(CORE_SOURCES/,/^)/p' "$root/cmake/sources.cmake" | grep -v '^set\|^)\|^ *#' | tr -d ' ')
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -I"$root" \
  "$root/tests/fuzz/fuzz_$target.cpp" "${core[@]/#/$root/}" -o "$out/fuzz_$target"
seeds=()
[ -d "$root/tests/fuzz/corpus/$target" ] && seeds=("$root/tests/fuzz/corpus/$target")
"$out/fuzz_$target" -max_total_time="$seconds" -artifact_prefix="$out/$target-crashes/" \
  "$out/$target-corpus" "${seeds[@]}"
