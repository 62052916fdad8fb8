#!/usr/bin/env bash
# Private Wine worlds for tests and benchmarks: each has its own Xvfb display and Wine prefix in a
# temporary folder, so nothing depends on (or disturbs) the user's display or ~/.wine.
#
#   wine-session.sh start POINTER [COUNT]  creates COUNT sessions (default 1), writes the path of
#                                          each one's env file into POINTER, a line each
#   wine-session.sh stop POINTER           stops what start started (by process id), removes it all
#   wine-session.sh env POINTER            prints the env file paths (nothing when there is none)
#
# tools/wine-run.sh takes one free session of POINTER for each program it runs.
set -euo pipefail

cmd=${1:?usage: wine-session.sh start|stop|env POINTER [COUNT]}
pointer=${2:?usage: wine-session.sh start|stop|env POINTER [COUNT]}
count=${3:-1}

# Starts Xvfb on the first display number that is free; another session starting at the same
# moment may take a number first, so a server that dies at once means: try the next.
start_display() {
  local dir=$1 n pid
  for n in $(seq 101 199); do
    [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ] || continue
    # Room for a desktop of 1280 x 1024 at 200 % (the dpi tests start one beside the default).
    Xvfb ":$n" -screen 0 2560x2048x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 </dev/null &
    pid=$!
    for _ in $(seq 1 100); do
      kill -0 "$pid" 2>/dev/null || break
      if [ -e "/tmp/.X11-unix/X$n" ]; then
        echo "$n $pid"
        return 0
      fi
      sleep 0.05
    done
    kill "$pid" 2>/dev/null || true
  done
  return 1
}

# A display and the env file of a session in `dir`; the prefix comes later.
new_session() {
  local dir=$1 display n xvfb_pid
  display=$(start_display "$dir") || { echo "wine-session: no free display" >&2; exit 1; }
  read -r n xvfb_pid <<<"$display"
  mkdir -p "$dir/xdg/alsa"
  # A null sound device, so the audio stack finds an endpoint without hardware.
  echo 'pcm.!default { type null }' >"$dir/xdg/alsa/asoundrc"
  cat >"$dir/env" <<ENV
export DISPLAY=:$n
export WINEPREFIX=$dir/prefix
export WINEDEBUG=-all
# No crash debugger: a crashing test must end at once with its failure, not wait for a debugger.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
export WINEARCH=win64
export XDG_CONFIG_HOME=$dir/xdg
export QUORVEL_WINE_DIR=$dir
XVFB_PID=$xvfb_pid
ENV
}

# A fresh prefix, set up for tests, with no Wine process left running in it.
make_prefix() {
  wineboot -i >"$QUORVEL_WINE_DIR/wineboot.log" 2>&1 </dev/null || true
  # Without a window manager, destroying a window that X manages waits two seconds for a state
  # change that never comes. On Wine's own virtual desktop windows close at once, and activation
  # (WS_EX_NOACTIVATE, MA_NOACTIVATE) and captions behave as on Windows.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 </dev/null || true
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1 </dev/null || true
  # The desktop that wineboot made stays as it was: begin anew with the settings in place.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}

# Starts the prefix's persistent server and keeps Wine's own services up.
run_session() {
  local dir=$QUORVEL_WINE_DIR
  # A persistent server keeps each later program start well under a second.
  wineserver -p >/dev/null 2>&1 </dev/null || true
  # Wine's service processes end with the last program and start again with the next one, which
  # costs each test a few seconds and hands them that program's output pipe. A command
  # interpreter that waits for input that never comes keeps them up for the whole session.
  mkfifo "$dir/keep"
  wine cmd.exe <"$dir/keep" >/dev/null 2>&1 &
  local keeper_pid=$!
  sleep 2147483647 >"$dir/keep" 2>/dev/null </dev/null &
  local feeder_pid=$!
  echo "KEEPER_PID=$keeper_pid FEEDER_PID=$feeder_pid" >>"$dir/env"
  local ws_pid=""
  # The server's process is named after its binary: wineserver, or wineserver64 on some systems.
  for p in $(pgrep '^wineserver' || true); do
    # A server of another prefix may end between the listing and the read: the shell reports a
    # failed redirection before any 2>/dev/null of the command applies, so the read is grouped.
    if { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then ws_pid=$p; fi
  done
  echo "WINESERVER_PID=$ws_pid" >>"$dir/env"
}

# The first session boots its prefix; the others start from copies of it.
start_first() {
  local dir=$1
  new_session "$dir"
  (
    # shellcheck disable=SC1091
    . "$dir/env"
    make_prefix
    run_session
  )
}

start() {
  local first dir i
  # Sessions a run cut off before its stop (or a repeated start) are not left running.
  stop
  first=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-wine.XXXXXX")
  echo "$first/env" >"$pointer"
  start_first "$first"
  local others=()
  for i in $(seq 2 "$count"); do
    dir=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-wine.XXXXXX")
    echo "$dir/env" >>"$pointer"
    others+=("$dir")
  done
  # Displays are numbered in turn; the rest of each session comes up beside the others.
  for dir in "${others[@]}"; do
    new_session "$dir"
  done
  local pids=()
  for dir in "${others[@]}"; do
    (
      # shellcheck disable=SC1091
      . "$dir/env"
      # Booting a prefix takes seconds of work; a copy takes a moment.
      cp -a "$first/prefix" "$dir/prefix"
      run_session
    ) &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid"; done
}

stop_one() {
  local envfile=$1 dir
  [ -f "$envfile" ] || return 0
  dir=$(dirname "$envfile")
  (
    # shellcheck disable=SC1090
    . "$envfile"
    wineserver -k >/dev/null 2>&1 || true
    for pid in ${FEEDER_PID:-} ${KEEPER_PID:-} ${WINESERVER_PID:-} ${XVFB_PID:-}; do
      kill "$pid" 2>/dev/null || true
    done
    for pid in ${FEEDER_PID:-} ${KEEPER_PID:-} ${WINESERVER_PID:-} ${XVFB_PID:-}; do
      for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      kill -9 "$pid" 2>/dev/null || true
    done
  )
  case "$dir" in */quorvel-wine.*) rm -rf "$dir" ;; esac
}

stop() {
  [ -f "$pointer" ] || return 0
  local envfiles
  envfiles=$(cat "$pointer")
  rm -f "$pointer"
  local pids=()
  for envfile in $envfiles; do
    stop_one "$envfile" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid"; done
}

case "$cmd" in
  start) start ;;
  stop) stop ;;
  env) [ -f "$pointer" ] && cat "$pointer" || true ;;
  *) echo "usage: wine-session.sh start|stop|env POINTER [COUNT]" >&2; exit 2 ;;
esac
