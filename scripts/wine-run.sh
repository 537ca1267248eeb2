#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private environment:
#   wine-run.sh PROGRAM [ARGS...]   run it (preparing the environment when needed)
#   wine-run.sh --prepare            create the prefix, start Xvfb and a persistent wineserver
#   wine-run.sh --stop               stop the wineserver and Xvfb of this environment
# ARTWHEEL_WINE_ROOT names the folder that holds the prefixes and the displays'
# state; ARTWHEEL_DLL_OVERRIDES replaces the default DLL load order.
# ARTWHEEL_D3D picks the Direct3D 11 stack, each in an environment of its own
# (prefix, Xvfb display, wineserver) under ARTWHEEL_WINE_ROOT:
#   wined3d  Wine's own Direct3D (the default)
#   dxvk     DXVK over Vulkan on Mesa's software driver, as Proton runs games; its
#            d3d11.dll and dxgi.dll come from shared/dxvk beside the repository
#            (or ARTWHEEL_DXVK_DIR) and are copied into that prefix only.
set -euo pipefail

root=${ARTWHEEL_WINE_ROOT:?ARTWHEEL_WINE_ROOT is not set}
mkdir -p "$root"
root=$(cd "$root" && pwd)
repo=$(cd "$(dirname "$0")/.." && pwd)

stack=${ARTWHEEL_D3D:-wined3d}
case "$stack" in
  wined3d) tag="" ;;
  dxvk) tag="-dxvk" ;;
  *) echo "wine-run.sh: ARTWHEEL_D3D must be wined3d or dxvk, not '$stack'" >&2; exit 2 ;;
esac

export WINEPREFIX="$root/prefix$tag"
export WINEARCH=win64
export WINEDEBUG=-all
# The game's folder first: Wine loads the dinput8 and XInput files found beside the program.
export WINEDLLOVERRIDES="${ARTWHEEL_DLL_OVERRIDES:-dinput8=n,b}"
if [ "$stack" = dxvk ]; then
  # DXVK's two files from the prefix; no debugger waiting on a crash.
  WINEDLLOVERRIDES+=";d3d11,dxgi=n,b;winedbg.exe=d"
  export VK_ICD_FILENAMES=/usr/share/vulkan/icd.d/lvp_icd.x86_64.json
  export DXVK_LOG_LEVEL=none
  export DXVK_STATE_CACHE=0  # no cache files in the game's folder
fi

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

display_file=$root/display$tag
xvfb_pid_file=$root/xvfb$tag.pid
lock_file=$root/lock$tag

# DXVK's files: shared/dxvk in the nearest folder above the repository that has
# one (beside it in CI; beside the main checkout for a worktree).
find_dxvk() {
  local dir=${ARTWHEEL_DXVK_DIR:-}
  if [ -z "$dir" ]; then
    dir=$repo
    while [ "$dir" != / ] && [ ! -f "$dir/shared/dxvk/dxgi.dll" ]; do dir=$(dirname "$dir"); done
    dir=$dir/shared/dxvk
  fi
  if [ -f "$dir/d3d11.dll" ] && [ -f "$dir/dxgi.dll" ]; then (cd "$dir" && pwd); return 0; fi
  echo "wine-run.sh: DXVK's d3d11.dll and dxgi.dll are in neither ARTWHEEL_DXVK_DIR nor" \
    "shared/dxvk beside the repository or a folder above it" >&2
  return 1
}

display_alive() {
  [ -f "$xvfb_pid_file" ] && [ -f "$display_file" ] && kill -0 "$(cat "$xvfb_pid_file")" 2>/dev/null
}

start_display() {
  display_alive && return 0
  rm -f "$display_file" "$xvfb_pid_file"
  # -displayfd picks a free display number and tells it once the server is up.
  # Daemons must not inherit the lock (fd 9) or the caller's output pipes.
  Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp 3>"$display_file.tmp" \
    </dev/null >/dev/null 2>&1 9>&- &
  echo $! >"$xvfb_pid_file"
  for _ in $(seq 1 100); do
    [ -s "$display_file.tmp" ] && break
    sleep 0.05
  done
  mv "$display_file.tmp" "$display_file"
}

# DXVK's files in the prefix, copied again whenever they differ.
install_dxvk() {
  local dxvk dll target
  dxvk=$(find_dxvk)
  for dll in d3d11.dll dxgi.dll; do
    target=$WINEPREFIX/drive_c/windows/system32/$dll
    if ! cmp -s "$dxvk/$dll" "$target"; then
      cp -f "$dxvk/$dll" "$target"
      chmod u+w "$target"
    fi
  done
}

# The CJK font that scripts/setup.sh installs (fonts-wqy-microhei), in the
# prefix's Fonts folder: Wine takes the fonts of that folder as installed ones,
# so the overlay's Chinese, Japanese and Korean texts have their glyphs.
cjk_font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
install_cjk_font() {
  local target=$WINEPREFIX/drive_c/windows/Fonts/wqy-microhei.ttc
  if [ -f "$cjk_font" ] && ! cmp -s "$cjk_font" "$target"; then
    mkdir -p "$(dirname "$target")"
    cp -f "$cjk_font" "$target"
  fi
}

prepare() {
  start_display
  export DISPLAY=":$(tr -d '[:space:]' <"$display_file")"
  if [ ! -f "$WINEPREFIX/.artwheel-ready" ]; then
    "$wine" wineboot -i </dev/null >/dev/null 2>&1 9>&- || true
    if [ "$stack" = dxvk ]; then
      # Xvfb reports its modes as 0 Hz through XRandR, and DXVK divides by the
      # refresh rate; without XRandR Wine reports 60 Hz.
      "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f \
        </dev/null >/dev/null 2>&1 9>&-
    fi
    "$wineserver" -w 9>&-
    touch "$WINEPREFIX/.artwheel-ready"
  fi
  if [ "$stack" = dxvk ]; then install_dxvk; fi
  install_cjk_font
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
  if [ -f "$xvfb_pid_file" ]; then kill "$(cat "$xvfb_pid_file")" 2>/dev/null || true; fi
  rm -f "$xvfb_pid_file" "$display_file"
}

case "${1:-}" in
  --prepare)
    exec 9>"$lock_file"; flock 9; prepare; exit 0 ;;
  --stop)
    exec 9>"$lock_file"; flock 9; stop; exit 0 ;;
  "")
    echo "usage: wine-run.sh PROGRAM [ARGS...] | --prepare | --stop" >&2; exit 2 ;;
esac

( flock 9; prepare ) 9>"$lock_file"
export DISPLAY=":$(tr -d '[:space:]' <"$display_file")"
exec "$wine" "$@"
