#!/usr/bin/env bash
# Runs a Windows program under Wine. Inside a test run it takes a free session of those the test
# fixture started (QUORVEL_WINE_POINTER names them) and keeps it to itself while the program
# runs; alone it makes a private session for this one run.
#
# Wine's service processes (rpcss.exe and others) are started on demand by whichever program needs
# them first and inherit its standard output. Were that ctest's pipe, they would die of SIGPIPE
# once the test ended and every later program in the session would wait ten seconds for a service
# that never starts. So the program writes into a file, and a tail that ends with it passes the
# output on.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
pointer=${QUORVEL_WINE_POINTER:-}
own=""
if [ -z "$pointer" ] || [ ! -s "$pointer" ]; then
  own=$(mktemp -u "${TMPDIR:-/tmp}/quorvel-pointer.XXXXXX")
  "$here/wine-session.sh" start "$own" || exit 1
  pointer=$own
fi

# The session's lock is held on descriptor 8 until this script ends; Wine never sees it, or a
# service it starts would hold the session for good.
envfile=""
while [ -z "$envfile" ]; do
  for candidate in $(cat "$pointer"); do
    exec 8>"$(dirname "$candidate")/lock"
    if flock -n 8; then
      envfile=$candidate
      break
    fi
    exec 8>&-
  done
  [ -n "$envfile" ] || sleep 0.1
done
# shellcheck disable=SC1090
. "$envfile"

out=$(mktemp "${TMPDIR:-/tmp}/quorvel-out.XXXXXX")
wine "$@" >"$out" 2>&1 </dev/null 8>&- &
pid=$!
# A time-out kills this script: take the program with it.
# A private session goes with it too.
trap 'kill "$pid" 2>/dev/null; rm -f "$out"; [ -n "$own" ] && "$here/wine-session.sh" stop "$own"; exit 124' TERM INT
tail -n +1 -s 0.05 --pid="$pid" -f "$out" 8>&- &
tailpid=$!
wait "$pid"
rc=$?
wait "$tailpid"
rm -f "$out"
exec 8>&-
[ -n "$own" ] && "$here/wine-session.sh" stop "$own"
exit $rc
