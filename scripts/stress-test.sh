#!/usr/bin/env bash
# Usage: scripts/stress-test.sh [RUNS] [extra arguments of the test command]
#
# The test command (scripts/test.sh) on a busy machine: clones this checkout's
# committed HEAD into a fresh temporary folder, then runs the test command
# there RUNS times (default 3; the first run builds from scratch) while two
# CPU-bound processes of its own run beside it the whole time. Prints each
# run's result (passed, or failed with the failed tests) and wall time, and
# fails when any run failed. Arguments after RUNS go to the test command and
# from there to ctest: scripts/stress-test.sh 1 -R unit
#
# DXVK's files are found as for this checkout (ARTWHEEL_DXVK_DIR, or
# shared/dxvk in a folder above it). The clone is removed when every run
# passed, and kept (its path printed) otherwise; ARTWHEEL_STRESS_DIR names the
# folder to clone into instead of a temporary one.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}
[ $# -gt 0 ] && shift
case $runs in '' | *[!0-9]*)
  echo "stress-test.sh: RUNS must be a number, not '$runs'" >&2
  exit 2
  ;;
esac

if [ -z "${ARTWHEEL_DXVK_DIR:-}" ]; then
  dir=$repo
  while [ "$dir" != / ] && [ ! -f "$dir/shared/dxvk/dxgi.dll" ]; do dir=$(dirname "$dir"); done
  if [ -f "$dir/shared/dxvk/dxgi.dll" ]; then export ARTWHEEL_DXVK_DIR=$dir/shared/dxvk; fi
fi

work=${ARTWHEEL_STRESS_DIR:-$(mktemp -d "${TMPDIR:-/tmp}/artwheel-stress.XXXXXX")}
mkdir -p "$work"
burners=()
stop_burners() {
  local pid
  for pid in "${burners[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${burners[@]}"; do wait "$pid" 2>/dev/null || true; done
  burners=()
}
trap stop_burners EXIT
trap 'exit 130' INT TERM

git clone --quiet --no-hardlinks "$repo" "$work/artwheel"
echo "Clone of $(git -C "$repo" rev-parse --short HEAD) in $work/artwheel"

for _ in 1 2; do
  sh -c 'while :; do :; done' &
  burners+=("$!")
done
echo "Two CPU-bound processes beside the tests: ${burners[*]}"

failures=0
for run in $(seq 1 "$runs"); do
  output=$work/run$run.txt
  start=$(date +%s)
  status=0
  (cd "$work/artwheel" && scripts/test.sh "$@") >"$output" 2>&1 || status=$?
  seconds=$(($(date +%s) - start))
  if [ "$status" -eq 0 ]; then
    echo "run $run: passed in ${seconds} s"
  else
    failures=$((failures + 1))
    failed=$(sed -n '/The following tests FAILED:/,$p' "$output" | grep -E '^[[:space:]]+[0-9]+ - ' |
      sed -E 's/^[[:space:]]+[0-9]+ - //' | tr '\n' ';' || true)
    echo "run $run: FAILED (exit $status) in ${seconds} s: ${failed:-see $output}"
  fi
done

stop_burners
if [ "$failures" -eq 0 ] && [ -z "${ARTWHEEL_STRESS_DIR:-}" ]; then
  rm -rf "$work"
else
  echo "Kept: $work (each run's output in run<N>.txt)"
fi
[ "$failures" -eq 0 ]
