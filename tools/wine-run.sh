#!/usr/bin/env bash
# Runs a Windows program under Wine. Inside a test run it joins the session that the test fixture
# started (QUORVEL_WINE_POINTER names it); alone it makes a private session for this one run.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
pointer=${QUORVEL_WINE_POINTER:-}
own=""
if [ -z "$pointer" ] || [ ! -s "$pointer" ]; then
  own=$(mktemp -u "${TMPDIR:-/tmp}/quorvel-pointer.XXXXXX")
  "$here/wine-session.sh" start "$own" || exit 1
  pointer=$own
fi
# shellcheck disable=SC1090
. "$(cat "$pointer")"
wine "$@"
rc=$?
[ -n "$own" ] && "$here/wine-session.sh" stop "$own"
exit $rc
