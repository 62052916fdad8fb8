#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs every test: the portable core natively
# under AddressSanitizer/UBSan (with the fuzz drivers), and the Windows tests under Wine on a
# private virtual display.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh" all
status=0
echo "== native tests (sanitizers) =="
ctest --test-dir "$root/build/native" --output-on-failure -j2 || status=1
echo "== Windows tests (Wine) =="
# Each Windows test takes a Wine session of its own: as many jobs as the build starts sessions.
sessions=$(sed -n 's/^WINE_SESSIONS:STRING=//p' "$root/build/win/CMakeCache.txt")
ctest --test-dir "$root/build/win" --output-on-failure -j"${sessions:-1}" || status=1
exit $status
