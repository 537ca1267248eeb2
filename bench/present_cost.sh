#!/usr/bin/env bash
# What PresentDetour adds to a game frame: the median time of the game's
# Present call over many frames, with artwheel showing nothing, with panel and
# message drawn, and the same runs without artwheel. Unthrottled, 1920 x 1080.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/windows/bin
work=$root/build/bench/present
export ARTWHEEL_WINE_ROOT=$root/build/wine
export ARTWHEEL_DLL_OVERRIDES="dinput8=n,b;xinput1_4=n"

ini='[General]
IsDebug=0
[Slots]
B=7300
[Overlay]
Enable=1
[SkillPanel]
Enable=1'

# In play at 1920 x 1080, the panel showing 7300.
in_game='own 7300 73
equipped 73
menu activeOrHud 1
menu loadingOrUi 1
menu postLoad 1
window 1920 1080
pad 0 0
wait 1500'

# Idle: the hook is installed by the panel, then the menu hides everything.
idle="$in_game
menu pauseMenu 2
wait 2500
fps 0
statsreset
frames 1500
stats idle
exit 0"

# Drawing: panel and message together, measured only while both are on screen.
drawing="$in_game
fps 0
statsoff
statsreset"
for _ in 1 2 3 4 5 6; do
  drawing+='
menu pauseMenu 2
menu selectedResolvedId 73
wait 60
pad 0 0x2002
wait 60
pad 0 0
menu pauseMenu 0
wait 700
statson
wait 1000
statsoff'
done
drawing+='
stats drawing
exit 0'

run() {  # name, with artwheel (yes/no), script
  local folder=$work/$1
  rm -rf "$folder" && mkdir -p "$folder"
  cp "$bin/sekiro.exe" "$bin/xinput1_4.dll" "$folder/"
  [ "$2" = yes ] && cp "$bin/dinput8.dll" "$folder/"
  cp -r "$root/build/resources" "$folder/"
  printf '%s\n' "$ini" >"$folder/artwheel.ini"
  printf '%s\n' "$3" >"$folder/scenario.txt"
  (cd "$folder" && "$root/scripts/wine-run.sh" sekiro.exe scenario.txt results.txt >/dev/null 2>&1)
  grep -h framestats "$folder/results.txt" | sed "s/^framestats /$1: /"
}

echo "Present call, median over the frames (microseconds):"
run idle_without no "$idle"
run idle_with yes "$idle"
run drawing_without no "$drawing"
run drawing_with yes "$drawing"
