#!/usr/bin/env bash
# Starts the built program under Wine. With a display it uses yours; without one it makes a
# virtual display and a private Wine prefix, and tells how to look at it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=$root/build/win/Quorvel/Quorvel.exe
[ -f "$exe" ] || { echo "run: build first (tools/build.sh win)" >&2; exit 1; }
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe"
fi
pointer=$(mktemp -u "${TMPDIR:-/tmp}/quorvel-run.XXXXXX")
"$root/tools/wine-session.sh" start "$pointer"
trap '"$root/tools/wine-session.sh" stop "$pointer"' EXIT
# shellcheck disable=SC1090
. "$(cat "$pointer")"
echo "Quorvel runs on the virtual display $DISPLAY (screenshot: /usr/bin/import -display $DISPLAY -window root shot.png)."
echo "Press Ctrl+C to stop it."
wine "$exe" || true
