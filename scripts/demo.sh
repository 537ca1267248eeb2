#!/usr/bin/env bash
# The main job: sets up what is missing, builds the DLL and the host simulator,
# and runs the demo scenario in a fresh game folder under Wine.
#   demo.sh [--d3d wined3d|dxvk]
# --d3d picks the game's Direct3D 11: Wine's own (the default, out/demo) or
# DXVK over Vulkan as Proton runs games (out/demo-dxvk).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

stack=${ARTWHEEL_D3D:-wined3d}
while [ $# -gt 0 ]; do
  case "$1" in
    --d3d) stack=${2:-}; shift 2 || shift ;;
    --d3d=*) stack=${1#--d3d=}; shift ;;
    *) echo "usage: demo.sh [--d3d wined3d|dxvk]" >&2; exit 2 ;;
  esac
done
case "$stack" in
  wined3d) game=$root/out/demo ;;
  dxvk) game=$root/out/demo-dxvk ;;
  *) echo "demo.sh: --d3d takes wined3d or dxvk, not '$stack'" >&2; exit 2 ;;
esac
export ARTWHEEL_D3D=$stack
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target artwheel_windows artwheel_resources

bin=$root/build/windows/bin
rm -rf "$game"
mkdir -p "$game"
cp "$bin/dinput8.dll" "$bin/sekiro.exe" "$bin/xinput1_4.dll" "$game/"
cp "$root/sim/demo/artwheel.ini" "$root/sim/demo/scenario.txt" "$game/"
cp -r "$root/build/resources" "$game/resources"

export ARTWHEEL_WINE_ROOT=$root/build/wine
export ARTWHEEL_DLL_OVERRIDES="dinput8=n,b;xinput1_4=n"
status=0
(cd "$game" && timeout -k 5 120 "$root/scripts/wine-run.sh" sekiro.exe scenario.txt results.txt) || status=$?
# A second start with the panel moved and scaled (sim/demo/moved).
moved=$game/moved
mkdir -p "$moved"
cp "$bin/dinput8.dll" "$bin/sekiro.exe" "$bin/xinput1_4.dll" "$root/sim/demo/moved/"* "$moved/"
cp -r "$root/build/resources" "$moved/resources"
(cd "$moved" && timeout -k 5 120 "$root/scripts/wine-run.sh" sekiro.exe scenario.txt results.txt) ||
  status=$?
cp "$moved"/0*.png "$game/" 2>/dev/null || true
# The message of that start's assignment, in Simplified Chinese, cut out.
if [ -f "$game/08_assigned_in_chinese.png" ]; then
  python3 "$root/scripts/message_shot.py" "$game/08_assigned_in_chinese.png" \
    "$game/message_zh-Hans.png"
fi
"$root/scripts/wine-run.sh" --stop

echo
echo "Demo finished on $stack (simulator exit code $status). In $game:"
echo "  artwheel_log.txt  the DLL's log"
echo "  artwheel.ini      the configuration after the run"
echo "  results.txt       what the game saw: button reads, equip calls, frames"
echo "  0*.png            screenshots of the game's frames with the overlay"
echo "  moved/            the second start, with the panel moved and scaled"
echo
if [ -f "$game/artwheel_log.txt" ]; then
  sed -n '1,200p' "$game/artwheel_log.txt" | sed 's/\r$//'
else
  echo "No artwheel_log.txt: the demo's configuration (sim/demo/artwheel.ini) turns"
  echo "logging off. Set IsDebug=true in its [General] section to see the log;"
  echo "the screenshots and results.txt show the run either way."
fi
if grep -q '^timeout' "$game/results.txt" 2>/dev/null; then
  echo
  echo "The timeline waited in vain:"
  grep '^timeout' "$game/results.txt"
fi
exit "$status"
