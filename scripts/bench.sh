#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine; prints their numbers. Those of the
# overlay's Present run on both Direct3D 11 stacks: Wine's own and DXVK.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target artwheel_windows merge_bench >/dev/null
build/merge_bench
export ARTWHEEL_WINE_ROOT=$PWD/build/wine ARTWHEEL_D3D=wined3d
for bench in build/windows/bin/bench_*.exe; do
  [ "$bench" = build/windows/bin/bench_present_detour.exe ] || scripts/wine-run.sh "$bench"
done
cmake --build --preset default --target artwheel_resources >/dev/null
for stack in wined3d dxvk; do
  echo
  echo "=== Direct3D 11 stack: $stack"
  export ARTWHEEL_D3D=$stack
  scripts/wine-run.sh build/windows/bin/bench_present_detour.exe
  bench/present_cost.sh
  scripts/wine-run.sh --stop
done
