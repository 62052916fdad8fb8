#!/usr/bin/env bash
# Open-ended fuzzing with clang's libFuzzer: tools/fuzz.sh TARGET [SECONDS]
# TARGET is a name from tests/fuzz/fuzz_TARGET.cpp. Crashes land in build/fuzz/TARGET-crashes/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
target=${1:?usage: tools/fuzz.sh TARGET [SECONDS]}
seconds=${2:-60}
out=$root/build/fuzz
cmake -S "$root" -B "$out" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DQUORVEL_LIBFUZZER=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out" -j2 --target "fuzz_$target"
mkdir -p "$out/$target-corpus" "$out/$target-crashes"
seeds=()
[ -d "$root/tests/fuzz/corpus/$target" ] && seeds=("$root/tests/fuzz/corpus/$target")
"$out/fuzz_$target" -max_total_time="$seconds" -artifact_prefix="$out/$target-crashes/" \
  "$out/$target-corpus" "${seeds[@]}"
