#!/usr/bin/env bash
# Builds everything and runs every test: decision logic natively under ASan and
# UBSan, Win32 glue under Wine, end-to-end scenarios in the host simulator.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default
exec ctest --preset default "$@"
