#!/usr/bin/env bash
# Builds everything and runs every test: decision logic natively under ASan and
# UBSan, Win32 glue under Wine, end-to-end scenarios in the host simulator; and
# with the second compiler (preset "clang"): the same logic and the Windows
# build by clang, each fuzz target over its corpus, clang-tidy over src/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default
cmake --preset clang >/dev/null
cmake --build --preset clang
exec ctest --preset default "$@"
