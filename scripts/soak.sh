#!/usr/bin/env bash
# The long soak: the game plays for MINUTES (default 10) with artwheel and,
# at the same time, with artwheel inert; prints one table and fails when any
# of its lines fails (tests/soak/soak.py). The test command runs a 30-second one.
# "scripts/soak.sh 3 --reload-every 3" also saves artwheel.ini every 3 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-10}
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target artwheel_windows artwheel_resources >/dev/null
export ARTWHEEL_WINE_ROOT=$PWD/build/wine
status=0
python3 tests/soak/soak.py "$minutes" --build build "${@:2}" || status=$?
scripts/wine-run.sh --stop
exit "$status"
