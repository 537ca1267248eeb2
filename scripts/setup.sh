#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ make            # native build and sanitizer tests
  g++-mingw-w64-x86-64-posix            # the Windows cross compiler (posix threads)
  binutils-mingw-w64-x86-64             # objdump for the DLL's export and import check
  googletest                            # GoogleTest sources, built for both targets
  wine64                                # runs the DLL, the simulator and the Win32 tests
  xvfb xauth                            # a virtual display for Direct3D under Wine
  mesa-vulkan-drivers libvulkan1        # Vulkan on the CPU (lavapipe) for DXVK's Direct3D
  procps util-linux coreutils           # pgrep, flock, timeout
  python3                               # draws the overlay's images; runs clang-tidy over src/
  clang lld llvm                        # the second compiler: native and MinGW target, lld, llvm-windres
  libclang-rt-14-dev                    # libFuzzer and the sanitizer runtimes for clang
  clang-tidy                            # static analysis of src/
  fonts-wqy-microhei                    # a small CJK font (1.6 MB, 5 MB installed) for the overlay under Wine
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
