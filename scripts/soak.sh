#!/usr/bin/env bash
# The long soak: the game plays for MINUTES (default 10) with artwheel and,
# at the same time, with artwheel inert; prints one table and fails when any
# of its lines fails (tests/soak/soak.py). The test command runs a 30-second one.
#   soak.sh [MINUTES] [--d3d wined3d|dxvk] [--work DIR] [--reload-every SECONDS]
# ARTWHEEL_WINE_ROOT may name a Wine environment of its own, so that the soak
# runs beside the tests. "--reload-every 3" also saves artwheel.ini every 3
# seconds (with [General] ApplyChanges on, each save is a reload).
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=10
work=()
reload=()
export ARTWHEEL_D3D=${ARTWHEEL_D3D:-wined3d}
while [ $# -gt 0 ]; do
  case "$1" in
    --d3d) ARTWHEEL_D3D=$2; shift 2 ;;
    --work) work=(--work "$2"); shift 2 ;;
    --reload-every) reload=(--reload-every "$2"); shift 2 ;;
    *) minutes=$1; shift ;;
  esac
done
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target artwheel_windows artwheel_resources >/dev/null
export ARTWHEEL_WINE_ROOT=${ARTWHEEL_WINE_ROOT:-$PWD/build/wine}
status=0
python3 tests/soak/soak.py "$minutes" --build build "${work[@]}" "${reload[@]}" || status=$?
scripts/wine-run.sh --stop
exit "$status"
