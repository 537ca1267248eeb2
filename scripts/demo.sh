#!/usr/bin/env bash
# The main job: sets up what is missing, builds the DLL and the host simulator,
# and runs the demo scenario in a fresh game folder under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target artwheel_windows artwheel_resources

bin=$root/build/windows/bin
game=$root/out/demo
rm -rf "$game"
mkdir -p "$game"
cp "$bin/dinput8.dll" "$bin/sekiro.exe" "$bin/xinput1_4.dll" "$game/"
cp "$root/sim/demo/artwheel.ini" "$root/sim/demo/scenario.txt" "$game/"
cp -r "$root/build/resources" "$game/resources"

export ARTWHEEL_WINE_ROOT=$root/build/wine
export ARTWHEEL_DLL_OVERRIDES="dinput8=n,b;xinput1_4=n"
status=0
(cd "$game" && timeout -k 5 120 "$root/scripts/wine-run.sh" sekiro.exe scenario.txt results.txt) || status=$?
"$root/scripts/wine-run.sh" --stop

echo
echo "Demo finished (simulator exit code $status). In $game:"
echo "  artwheel_log.txt  the DLL's log"
echo "  artwheel.ini      the configuration after the run"
echo "  results.txt       what the game saw: button reads, equip calls, frames"
echo "  0*.png            screenshots of the game's frames with the overlay"
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
