#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need, only those missing.
set -euo pipefail
packages=(
  cmake make g++ clang libclang-rt-14-dev
  g++-mingw-w64-x86-64 mingw-w64-tools
  wine wine64 xvfb xdotool x11-utils imagemagick
  doctest-dev libpugixml-dev sox
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  # The package manager's own lines go to a log; only a failure shows them.
  log=$(mktemp "${TMPDIR:-/tmp}/quorvel-setup.XXXXXX")
  if ! { "${sudo_cmd[@]}" apt-get update -qq &&
         DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"; } \
       >"$log" 2>&1; then
    echo "setup: installing failed; the end of $log:" >&2
    tail -n 30 "$log" >&2
    exit 1
  fi
  rm -f "$log"
fi
