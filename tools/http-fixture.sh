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
    # Files as they are, and /slow.txt: a version file whose body comes only after a pause of
    # QUORVEL_SLOW_SECONDS (default 2), for the tests of a download cut short. Its handler logs
    # "slow.txt: sent" when the body went out and "slow.txt: client left" when the client closed
    # the connection during the pause.
    python3 -u - "$dir/www" >"$dir/log" 2>&1 <<'PY' &
import functools, http.server, os, select, socket, sys, time

SLOW_SECONDS = float(os.environ.get("QUORVEL_SLOW_SECONDS", "2"))

class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        if self.path != "/slow.txt":
            return super().do_GET()
        body = b"99.5\r\n"
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.flush()
        print("slow.txt: started", flush=True)
        end = time.monotonic() + SLOW_SECONDS
        while time.monotonic() < end:
            readable, _, _ = select.select([self.connection], [], [], 0.05)
            if readable:
                try:
                    data = self.connection.recv(1, socket.MSG_PEEK)
                except OSError:
                    data = b""
                if not data:
                    print("slow.txt: client left", flush=True)
                    return
        try:
            self.wfile.write(body)
            self.wfile.flush()
            print("slow.txt: sent", flush=True)
        except OSError:
            print("slow.txt: client left", flush=True)

handler = functools.partial(Handler, directory=sys.argv[1])
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
server.daemon_threads = True
print("Serving HTTP on 127.0.0.1 port %d" % server.server_address[1], flush=True)
server.serve_forever()
PY
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
