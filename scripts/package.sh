#!/usr/bin/env bash
# Builds the release players download: dist/artwheel-<version>-win64.zip with
# dinput8.dll, the starter configuration artwheel.starter.ini, the images, the
# player guide and the licence. The version is the one in CMakeLists.txt's project() line.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target artwheel_windows artwheel_resources
cpack --config build/CPackConfig.cmake -B "$PWD/dist"
rm -rf dist/_CPack_Packages
echo
echo "The release is in dist/:"
ls -l dist/*.zip
