#!/usr/bin/env bash
# A small web server for the update check tests, on 127.0.0.1 with a free port.
#   http-fixture.sh start DIR VERSION   serves DIR/www, writes DIR/port, DIR/pid and DIR/log
#   http-fixture.sh stop DIR            stops the server it started (by process id)
set -euo pipefail
cmd=${1:?usage: http-fixture.sh start|stop DIR [VERSION]}
dir=${2:?usage: http-fixture.sh start|stop DIR [VERSION]}
case "$cmd" in
  start)
    version=${3:?the product version}
    "$0" stop "$dir"
    mkdir -p "$dir/www"
    printf '99.5\r\n' >"$dir/www/newer.txt"
    printf '%s\r\n' "$version" >"$dir/www/equal.txt"
    printf '99.5 <html>' >"$dir/www/garbage.txt"
    printf '99.5%040d' 0 >"$dir/www/long.txt"
    rm -f "$dir/port" "$dir/log"
    python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$dir/www" >"$dir/log" 2>&1 &
    echo $! >"$dir/pid"
    for _ in $(seq 1 100); do
      port=$(sed -n 's/.* port \([0-9][0-9]*\).*/\1/p' "$dir/log" | head -1)
      if [ -n "$port" ]; then echo "$port" >"$dir/port"; exit 0; fi
      sleep 0.05
    done
    echo "http-fixture: server did not start" >&2
    exit 1
    ;;
  stop)
    if [ -f "$dir/pid" ]; then
      pid=$(cat "$dir/pid")
      kill "$pid" 2>/dev/null || true
      for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      rm -f "$dir/pid" "$dir/port"
    fi
    ;;
  *) echo "usage: http-fixture.sh start|stop DIR [VERSION]" >&2; exit 2 ;;
esac
