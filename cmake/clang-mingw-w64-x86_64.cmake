# Cross toolchain: 64-bit Windows through clang and lld, with the MinGW-w64
# headers, C++ runtime and static libraries that the GCC build uses.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ARTWHEEL_MINGW_PREFIX x86_64-w64-mingw32)
set(ARTWHEEL_MINGW_ROOT /usr/${ARTWHEEL_MINGW_PREFIX})
find_program(CMAKE_C_COMPILER NAMES clang clang-14 REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES clang++ clang++-14 REQUIRED)
set(CMAKE_C_COMPILER_TARGET ${ARTWHEEL_MINGW_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${ARTWHEEL_MINGW_PREFIX})
find_program(CMAKE_RC_COMPILER NAMES llvm-windres llvm-windres-14 REQUIRED)
set(CMAKE_RC_FLAGS_INIT "--target=pe-x86-64")

# Debian keeps the MinGW GCC runtime in a folder named "<version>-posix",
# which clang's driver does not take for a version: name its C++ headers and
# libraries here. The posix flavour is the one the GCC build links.
file(GLOB ARTWHEEL_MINGW_GCC_DIRS LIST_DIRECTORIES true /usr/lib/gcc/${ARTWHEEL_MINGW_PREFIX}/*-posix)
list(SORT ARTWHEEL_MINGW_GCC_DIRS COMPARE NATURAL)
list(POP_BACK ARTWHEEL_MINGW_GCC_DIRS ARTWHEEL_MINGW_GCC)
if(NOT ARTWHEEL_MINGW_GCC)
  message(FATAL_ERROR "No MinGW-w64 GCC (posix) runtime under /usr/lib/gcc/${ARTWHEEL_MINGW_PREFIX}")
endif()
set(ARTWHEEL_CLANG_MINGW_FLAGS
    "--sysroot=${ARTWHEEL_MINGW_ROOT} -stdlib++-isystem ${ARTWHEEL_MINGW_GCC}/include/c++ -stdlib++-isystem ${ARTWHEEL_MINGW_GCC}/include/c++/${ARTWHEEL_MINGW_PREFIX}")
set(CMAKE_C_FLAGS_INIT "${ARTWHEEL_CLANG_MINGW_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${ARTWHEEL_CLANG_MINGW_FLAGS}")
# winpthreads as GCC's posix flavour links it; lld takes archives in any order.
set(ARTWHEEL_CLANG_MINGW_LINK "-fuse-ld=lld -L${ARTWHEEL_MINGW_GCC} -lpthread")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${ARTWHEEL_CLANG_MINGW_LINK}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${ARTWHEEL_CLANG_MINGW_LINK}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${ARTWHEEL_CLANG_MINGW_LINK}")

set(CMAKE_FIND_ROOT_PATH ${ARTWHEEL_MINGW_ROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
