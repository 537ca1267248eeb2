#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine; prints their numbers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target artwheel_windows merge_bench >/dev/null
build/merge_bench
export ARTWHEEL_WINE_ROOT=$PWD/build/wine
for bench in build/windows/bin/bench_*.exe; do
  scripts/wine-run.sh "$bench"
done
cmake --build --preset default --target artwheel_resources >/dev/null
bench/present_cost.sh
scripts/wine-run.sh --stop
