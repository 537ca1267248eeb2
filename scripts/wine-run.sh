#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private environment:
#   wine-run.sh PROGRAM [ARGS...]   run it (preparing the environment when needed)
#   wine-run.sh --prepare            create the prefix, start Xvfb and a persistent wineserver
#   wine-run.sh --stop               stop the wineserver and Xvfb of this environment
# ARTWHEEL_WINE_ROOT names the folder that holds the prefix and the display's
# state; ARTWHEEL_DLL_OVERRIDES replaces the default DLL load order.
set -euo pipefail

root=${ARTWHEEL_WINE_ROOT:?ARTWHEEL_WINE_ROOT is not set}
mkdir -p "$root"
root=$(cd "$root" && pwd)

export WINEPREFIX="$root/prefix"
export WINEARCH=win64
export WINEDEBUG=-all
# The game's folder first: Wine loads the dinput8 and XInput files found beside the program.
export WINEDLLOVERRIDES="${ARTWHEEL_DLL_OVERRIDES:-dinput8=n,b}"

find_tool() {
  local name
  for name in "$@"; do
    if command -v "$name" >/dev/null 2>&1; then command -v "$name"; return 0; fi
    if [ -x "/usr/lib/wine/$name" ]; then echo "/usr/lib/wine/$name"; return 0; fi
  done
  echo "wine-run.sh: none of $* found; run scripts/setup.sh" >&2
  return 1
}
wine=$(find_tool wine64 wine)
wineserver=$(find_tool wineserver64 wineserver)

display_alive() {
  [ -f "$root/xvfb.pid" ] && [ -f "$root/display" ] && kill -0 "$(cat "$root/xvfb.pid")" 2>/dev/null
}

start_display() {
  display_alive && return 0
  rm -f "$root/display" "$root/xvfb.pid"
  # -displayfd picks a free display number and tells it once the server is up.
  # Daemons must not inherit the lock (fd 9) or the caller's output pipes.
  Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp 3>"$root/display.tmp" \
    </dev/null >/dev/null 2>&1 9>&- &
  echo $! >"$root/xvfb.pid"
  for _ in $(seq 1 100); do
    [ -s "$root/display.tmp" ] && break
    sleep 0.05
  done
  mv "$root/display.tmp" "$root/display"
}

prepare() {
  start_display
  export DISPLAY=":$(tr -d '[:space:]' <"$root/display")"
  if [ ! -f "$WINEPREFIX/.artwheel-ready" ]; then
    "$wine" wineboot -i </dev/null >/dev/null 2>&1 9>&- || true
    "$wineserver" -w 9>&-
    touch "$WINEPREFIX/.artwheel-ready"
  fi
  # One wineserver for the whole run keeps every program's start in the ms range.
  # Its helper processes (services, device drivers) start with the first
  # program; start them here, away from any caller's output pipe, which they
  # would otherwise hold open for as long as the server lives.
  if [ -z "$(server_pid)" ]; then
    "$wineserver" -p </dev/null >/dev/null 2>&1 9>&- || true
    "$wine" wineboot </dev/null >/dev/null 2>&1 9>&- || true
  fi
}

server_pid() {
  local pid
  for pid in $(pgrep wineserver || true); do
    # A server can end between pgrep and the read; the redirection's own error
    # goes to /dev/null only when that redirection comes first.
    if tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      echo "$pid"; return 0
    fi
  done
}

stop() {
  "$wineserver" -k >/dev/null 2>&1 || true
  if [ -f "$root/xvfb.pid" ]; then kill "$(cat "$root/xvfb.pid")" 2>/dev/null || true; fi
  rm -f "$root/xvfb.pid" "$root/display"
}

case "${1:-}" in
  --prepare)
    exec 9>"$root/lock"; flock 9; prepare; exit 0 ;;
  --stop)
    exec 9>"$root/lock"; flock 9; stop; exit 0 ;;
  "")
    echo "usage: wine-run.sh PROGRAM [ARGS...] | --prepare | --stop" >&2; exit 2 ;;
esac

( flock 9; prepare ) 9>"$root/lock"
export DISPLAY=":$(tr -d '[:space:]' <"$root/display")"
exec "$wine" "$@"
