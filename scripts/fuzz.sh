#!/usr/bin/env bash
# Fuzzes every target for [seconds] each (default 60), one after the other,
# and prints executions per second and coverage per target. The targets come
# from the clang preset's build; each grows a working corpus in
# build/clang/fuzz-corpus/<target> from the seeds in tests/fuzz/corpus/<target>.
# A crash leaves its input in build/clang/fuzz-findings/<target>/: fix the
# code, then copy the input into the seed corpus so the tests replay it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/setup.sh
cmake --preset clang >/dev/null
cmake --build --preset clang --target \
  ini_scan_fuzz chain_path_fuzz export_listing_fuzz device_filter_fuzz hud_merge_fuzz uiscan_state_fuzz

status=0
table=$(mktemp)
trap 'rm -f "$table"' EXIT
for source in tests/fuzz/*_fuzz.cpp; do
  name=$(basename "$source" _fuzz.cpp)
  work=build/clang/fuzz-corpus/$name
  findings=build/clang/fuzz-findings/$name
  mkdir -p "$work" "$findings"
  log=build/clang/fuzz-$name.log
  echo "fuzz: $name for ${seconds}s"
  result=ok
  build/clang/${name}_fuzz -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$findings/" "$work" "tests/fuzz/corpus/$name" >"$log" 2>&1 || result=FINDING
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$(grep -Eo 'cov: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -Eo 'ft: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
  corpus=$(ls "$work" | wc -l)
  printf '%-16s %12s %10s %6s %7s %8s  %s\n' "$name" "${runs:-?}" "${speed:-?}" "${cov:-?}" \
    "${ft:-?}" "$corpus" "$result" >>"$table"
  if [ "$result" != ok ]; then
    status=1
    grep -E 'ERROR|check failed|Test unit written' "$log" | head -5
  fi
done
printf '%-16s %12s %10s %6s %7s %8s  %s\n' target runs exec/s cov ft corpus result
cat "$table"
exit $status
