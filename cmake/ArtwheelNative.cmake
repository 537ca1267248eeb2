# The native build: decision logic under AddressSanitizer and UBSan, the
# Windows build as a sub-build, and the end-to-end scenarios that run its
# output under Wine.
include(ArtwheelSources)
artwheel_add_gtest_sources()
include(GoogleTest)
include(ArtwheelStacks)

artwheel_add_native_unit_tests()
gtest_discover_tests(unit_tests TEST_PREFIX "unit." DISCOVERY_TIMEOUT 60)

# --- The Windows build -------------------------------------------------------
include(ExternalProject)
set(ARTWHEEL_WINDOWS_DIR ${CMAKE_BINARY_DIR}/windows)
set(ARTWHEEL_WINE_ROOT ${CMAKE_BINARY_DIR}/wine)
ExternalProject_Add(artwheel_windows
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${ARTWHEEL_WINDOWS_DIR}
  CMAKE_GENERATOR ${CMAKE_GENERATOR}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
    -DCMAKE_BUILD_TYPE=Release
    -DARTWHEEL_WINE_ROOT=${ARTWHEEL_WINE_ROOT}
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD ON)

# ctest here also runs the Windows build's tests, in one run with one summary.
file(WRITE ${CMAKE_BINARY_DIR}/windows_tests.cmake "subdirs(\"${ARTWHEEL_WINDOWS_DIR}\")\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/windows_tests.cmake)

# So does the second compiler's build (preset "clang": its unit tests, fuzz
# regressions, DLL check and clang-tidy); missing, it fails the run.
set(ARTWHEEL_CLANG_DIR ${CMAKE_BINARY_DIR}/clang CACHE PATH "Binary folder of the clang preset")
file(WRITE ${CMAKE_BINARY_DIR}/clang_tests.cmake
  "if(EXISTS \"${ARTWHEEL_CLANG_DIR}/CTestTestfile.cmake\")\n"
  "  subdirs(\"${ARTWHEEL_CLANG_DIR}\")\n"
  "else()\n"
  "  add_test(clang.preset_built /bin/sh -c \"echo 'missing: cmake --preset clang && cmake --build --preset clang'; exit 1\")\n"
  "endif()\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/clang_tests.cmake)

# One Wine environment (prefix, virtual display, persistent wineserver) per
# Direct3D stack and test run: fixture "wine" for Wine's own, "wine_dxvk" for DXVK.
set(ARTWHEEL_WINE_RUN ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh)
foreach(stack wined3d dxvk)
  set(fixture wine)
  if(stack STREQUAL "dxvk")
    set(fixture wine_dxvk)
  endif()
  string(REPLACE "_" "." name ${fixture})
  set(environment env ARTWHEEL_WINE_ROOT=${ARTWHEEL_WINE_ROOT} ARTWHEEL_D3D=${stack})
  add_test(NAME ${name}.start COMMAND ${environment} ${ARTWHEEL_WINE_RUN} --prepare)
  add_test(NAME ${name}.stop COMMAND ${environment} ${ARTWHEEL_WINE_RUN} --stop)
  set_tests_properties(${name}.start PROPERTIES FIXTURES_SETUP ${fixture} LABELS ${stack})
  set_tests_properties(${name}.stop PROPERTIES FIXTURES_CLEANUP ${fixture} LABELS ${stack})
endforeach()

# The product's binary form: one export, system DLLs only.
add_test(NAME build.dll_exports_and_imports
  COMMAND ${PROJECT_SOURCE_DIR}/tests/check_dll.sh ${ARTWHEEL_WINDOWS_DIR}/bin/dinput8.dll)

# --- End-to-end scenarios ------------------------------------------------------
# The scenario driver is compiled once for the three scenario programs.
add_library(e2e_scenario OBJECT ${PROJECT_SOURCE_DIR}/tests/e2e/scenario.cpp
                                ${PROJECT_SOURCE_DIR}/tests/e2e/png_file.cpp)
target_compile_definitions(e2e_scenario PRIVATE
  ARTWHEEL_WINDOWS_BIN="${ARTWHEEL_WINDOWS_DIR}/bin"
  ARTWHEEL_WINE_RUN="${ARTWHEEL_WINE_RUN}"
  ARTWHEEL_WINE_ROOT="${ARTWHEEL_WINE_ROOT}"
  ARTWHEEL_SCENARIO_ROOT="${CMAKE_BINARY_DIR}/scenarios")
target_link_libraries(e2e_scenario PUBLIC gtest_main)
artwheel_warnings(e2e_scenario)

file(GLOB ARTWHEEL_E2E_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/*_test.cpp)
add_executable(e2e_tests ${ARTWHEEL_E2E_TESTS})
target_link_libraries(e2e_tests PRIVATE e2e_scenario)
target_compile_definitions(e2e_tests PRIVATE ARTWHEEL_VERSION="${PROJECT_VERSION}")
artwheel_warnings(e2e_tests)
artwheel_precompile_test_headers(e2e_tests)
add_dependencies(e2e_tests artwheel_windows)
# Every program under Wine takes one slot of its stack's desktop; the hotkey
# scenarios take all of Wine's own (tests/desktop_resources.json, named by the
# test preset). The Direct3D scenarios run on both stacks.
artwheel_discover_wine_tests(e2e_tests e2e DISCOVERY DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)

# HudProbe's hotkeys go through the desktop's one keyboard, which every
# process of the wineserver shares: these scenarios run alone.
file(GLOB ARTWHEEL_E2E_HOTKEY_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/hotkeys/*.cpp)
add_executable(e2e_hotkey_tests ${ARTWHEEL_E2E_HOTKEY_TESTS})
target_link_libraries(e2e_hotkey_tests PRIVATE e2e_scenario)
artwheel_precompile_test_headers(e2e_hotkey_tests)
get_target_property(ARTWHEEL_E2E_DEFINITIONS e2e_tests COMPILE_DEFINITIONS)
target_compile_definitions(e2e_hotkey_tests PRIVATE ${ARTWHEEL_E2E_DEFINITIONS})
artwheel_warnings(e2e_hotkey_tests)
add_dependencies(e2e_hotkey_tests artwheel_windows)
gtest_discover_tests(e2e_hotkey_tests TEST_PREFIX "e2e." DISCOVERY_TIMEOUT 60
  PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120 RESOURCE_LOCK desktop_keyboard
             RESOURCE_GROUPS desktop:8 LABELS wined3d)

find_package(Python3 COMPONENTS Interpreter REQUIRED)

# The floors of src/: no include runs to a folder of the same or a higher floor.
add_test(NAME build.layering COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/scripts/check_layers.py
                                     ${PROJECT_SOURCE_DIR}/src)

# The overlay's images, drawn by the project's own script.
set(ARTWHEEL_RESOURCES_DIR ${CMAKE_BINARY_DIR}/resources)
add_custom_command(OUTPUT ${ARTWHEEL_RESOURCES_DIR}/bg.png
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/scripts/make_resources.py ${ARTWHEEL_RESOURCES_DIR}
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make_resources.py
  COMMENT "Drawing the overlay's images")
add_custom_target(artwheel_resources ALL DEPENDS ${ARTWHEEL_RESOURCES_DIR}/bg.png)
add_dependencies(e2e_tests artwheel_resources)
target_compile_definitions(e2e_tests PRIVATE ARTWHEEL_RESOURCES="${ARTWHEEL_RESOURCES_DIR}")

include(ArtwheelPackage)

# Thirty seconds of the soak (scripts/soak.sh runs the long one): two
# simulators at once, with artwheel and inert.
add_test(NAME soak.thirty_seconds
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tests/soak/soak.py 0.5 --build ${CMAKE_BINARY_DIR})
set_tests_properties(soak.thirty_seconds PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 240
                                                    RESOURCE_GROUPS desktop:2)

# Benchmarks (scripts/bench.sh): built with optimisation and without the
# sanitizers of the unit tests.
add_library(artwheel_logic_fast STATIC ${ARTWHEEL_LOGIC_SOURCES})
target_include_directories(artwheel_logic_fast PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_compile_options(artwheel_logic_fast PRIVATE -O2)
add_executable(merge_bench bench/merge_bench.cpp)
target_compile_options(merge_bench PRIVATE -O2)
target_link_libraries(merge_bench PRIVATE artwheel_logic_fast)
