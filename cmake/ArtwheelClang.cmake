# The second compiler (preset "clang"): the decision logic and its unit tests
# built by clang under AddressSanitizer and UBSan, the libFuzzer targets over
# the same sources, the Windows build made by clang and lld for the MinGW
# target, and clang-tidy over src/ with that build's compile commands. The
# default build's ctest run takes these tests in (ArtwheelNative.cmake).
include(ArtwheelSources)
artwheel_add_gtest_sources()

artwheel_add_native_unit_tests()
add_test(NAME clang.unit_tests COMMAND unit_tests --gtest_brief=1)

# --- Fuzzing -----------------------------------------------------------------
# Every parser and filter of bytes the library did not write; scripts/fuzz.sh
# runs them for a while, the tests run each over its corpus.
set(ARTWHEEL_FUZZ_SANITIZE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
                           -fno-omit-frame-pointer)
add_library(artwheel_logic_fuzz STATIC ${ARTWHEEL_LOGIC_SOURCES})
target_include_directories(artwheel_logic_fuzz PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_compile_options(artwheel_logic_fuzz PRIVATE -fsanitize=fuzzer-no-link,address,undefined
                                                   -fno-sanitize-recover=all -fno-omit-frame-pointer)
artwheel_warnings(artwheel_logic_fuzz)

set(ARTWHEEL_FUZZ_TARGETS ini_scan chain_path export_listing device_filter hud_merge uiscan_state)
set(ARTWHEEL_FUZZ_CORPUS ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus)
foreach(name ${ARTWHEEL_FUZZ_TARGETS})
  add_executable(${name}_fuzz ${PROJECT_SOURCE_DIR}/tests/fuzz/${name}_fuzz.cpp)
  target_link_libraries(${name}_fuzz PRIVATE artwheel_logic_fuzz)
  target_compile_options(${name}_fuzz PRIVATE ${ARTWHEEL_FUZZ_SANITIZE})
  target_link_options(${name}_fuzz PRIVATE ${ARTWHEEL_FUZZ_SANITIZE})
  artwheel_warnings(${name}_fuzz)
  add_test(NAME fuzz.${name}
    COMMAND ${PROJECT_SOURCE_DIR}/tests/fuzz/run_corpus.sh $<TARGET_FILE:${name}_fuzz>
            ${ARTWHEEL_FUZZ_CORPUS}/${name})
endforeach()

# --- The Windows build by clang ------------------------------------------------
include(ExternalProject)
set(ARTWHEEL_CLANG_WINDOWS_DIR ${CMAKE_BINARY_DIR}/windows)
ExternalProject_Add(artwheel_windows_clang
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${ARTWHEEL_CLANG_WINDOWS_DIR}
  CMAKE_GENERATOR ${CMAKE_GENERATOR}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/clang-mingw-w64-x86_64.cmake
    -DCMAKE_BUILD_TYPE=Release
    -DARTWHEEL_WINE_ROOT=${CMAKE_BINARY_DIR}/wine
  # The DLL (and its libraries) only, to keep the test command short; the
  # simulator, Win32 tests and benchmarks build with clang as well:
  # cmake --build build/clang/windows
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target artwheel_dll
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD ON)

# The product's binary form holds for this build as well.
add_test(NAME clang.dll_exports_and_imports
  COMMAND ${PROJECT_SOURCE_DIR}/tests/check_dll.sh ${ARTWHEEL_CLANG_WINDOWS_DIR}/bin/dinput8.dll)

# --- Static analysis ---------------------------------------------------------------
# About 3.5 CPU minutes for all of src/ (each file parses the Windows and
# Direct3D headers); a file unchanged since its last clean check is skipped.
add_test(NAME tidy.src
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/tidy.py ${ARTWHEEL_CLANG_WINDOWS_DIR}/compile_commands.json)
set_tests_properties(tidy.src PROPERTIES TIMEOUT 900)
# The longest test, started first: ctest runs the tests others depend on
# before the rest, also on a clean machine without its record of test times,
# so that the scenarios' waiting fills the cores beside it instead of tidy
# running alone at the end. The check below only waits for it.
set_tests_properties(clang.dll_exports_and_imports PROPERTIES DEPENDS tidy.src)
