# The Windows build: the product DLL, the host simulator, the Win32 tests.
include(ArtwheelSources)

set(ARTWHEEL_WINE_ROOT "${CMAKE_BINARY_DIR}/wine" CACHE PATH "Wine prefix and display for tests")
set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env;ARTWHEEL_WINE_ROOT=${ARTWHEEL_WINE_ROOT};${PROJECT_SOURCE_DIR}/scripts/wine-run.sh)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Only Windows system DLLs at run time: the C++ runtime, libgcc and winpthread
# are linked in.
set(ARTWHEEL_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

add_library(artwheel_logic STATIC ${ARTWHEEL_LOGIC_SOURCES})
target_include_directories(artwheel_logic PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_compile_options(artwheel_logic PRIVATE -fno-exceptions -ffunction-sections)
artwheel_warnings(artwheel_logic)

add_library(artwheel_win STATIC
  src/base/ini_file.cpp
  src/base/log.cpp
  src/base/memory.cpp
  src/base/patch_report.cpp
  src/base/patch_store.cpp
  src/base/pe_image.cpp
  src/base/wide_path.cpp
  src/game/game_checks.cpp
  src/game/game_door.cpp
  src/game/game_memory.cpp
  src/input/dinput_devices.cpp
  src/input/dinput_own_objects.cpp
  src/input/keyboard.cpp
  src/input/xinput_hooks.cpp
  src/input/xinput_libraries.cpp
  src/slots/assign.cpp
  src/slots/equip.cpp
  src/slots/panel_state.cpp
  src/overlay/menu_texture.cpp
  src/overlay/color_space_hook.cpp
  src/overlay/hdr_frame.cpp
  src/overlay/message_texture.cpp
  src/overlay/overlay_frame.cpp
  src/overlay/overlay_state.cpp
  src/overlay/pipeline_state.cpp
  src/overlay/pixel_texture.cpp
  src/overlay/png_texture.cpp
  src/overlay/present_hook.cpp
  src/overlay/render_objects.cpp
  src/overlay/text_faces.cpp
  src/overlay/text_fit.cpp
  src/overlay/wheel_draw.cpp
  src/diagnostics/diagnostics_settings.cpp
  src/diagnostics/game_objects.cpp
  src/diagnostics/hud_capture.cpp
  src/diagnostics/hud_dump.cpp
  src/diagnostics/hud_probe.cpp
  src/diagnostics/uiscan.cpp
  src/app/chainload.cpp
  src/app/loaded_as.cpp
  src/app/menu_session.cpp
  src/app/settings.cpp
  src/app/settings_file.cpp
  src/app/settings_read.cpp
  src/app/settings_watch.cpp
  src/app/slot_actions.cpp
  src/app/startup.cpp
  src/app/worker.cpp
)
target_include_directories(artwheel_win PUBLIC ${PROJECT_SOURCE_DIR}/src)
# The version the log's start names, the same as the version resource's.
set_source_files_properties(src/app/startup.cpp PROPERTIES
  COMPILE_DEFINITIONS ARTWHEEL_VERSION="${PROJECT_VERSION}")
target_compile_definitions(artwheel_win PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
target_compile_options(artwheel_win PRIVATE -fno-exceptions -ffunction-sections)
target_link_libraries(artwheel_win PUBLIC artwheel_logic kernel32 user32 gdi32 ole32)
artwheel_warnings(artwheel_win)
artwheel_precompile_headers(artwheel_win <windows.h> <d3d11.h>)

# The version resource: file and product version from project(), so that a
# player can tell which version sits in the game folder.
enable_language(RC)
configure_file(${PROJECT_SOURCE_DIR}/src/app/version.rc.in ${CMAKE_BINARY_DIR}/version.rc @ONLY)
add_library(artwheel_dll SHARED src/app/dll_main.cpp src/app/proxy.cpp src/app/dinput8.def
                                ${CMAKE_BINARY_DIR}/version.rc)
set_target_properties(artwheel_dll PROPERTIES PREFIX "" OUTPUT_NAME dinput8)
target_compile_options(artwheel_dll PRIVATE -fno-exceptions)
target_link_libraries(artwheel_dll PRIVATE artwheel_win)
# Stripped, and only what is reachable from the export and the entry point.
target_link_options(artwheel_dll PRIVATE ${ARTWHEEL_STATIC_RUNTIME} -s -Wl,--gc-sections)
artwheel_warnings(artwheel_dll)

add_subdirectory(sim)
add_subdirectory(tests/wine)

# Benchmarks (scripts/bench.sh runs them under Wine).
add_executable(bench_xinput_detour bench/xinput_detour_bench.cpp)
target_link_libraries(bench_xinput_detour PRIVATE artwheel_win)
target_link_options(bench_xinput_detour PRIVATE ${ARTWHEEL_STATIC_RUNTIME})
artwheel_warnings(bench_xinput_detour)
add_executable(bench_log_stall bench/log_stall_bench.cpp)
target_link_libraries(bench_log_stall PRIVATE artwheel_win)
target_link_options(bench_log_stall PRIVATE ${ARTWHEEL_STATIC_RUNTIME})
artwheel_warnings(bench_log_stall)
add_executable(bench_present_detour bench/present_detour_bench.cpp tests/e2e/png_file.cpp)
target_link_libraries(bench_present_detour PRIVATE artwheel_win d3d11)
target_link_options(bench_present_detour PRIVATE ${ARTWHEEL_STATIC_RUNTIME})
artwheel_warnings(bench_present_detour)
add_executable(bench_diagnostics bench/diagnostics_bench.cpp sim/host_image.cpp sim/game_world.cpp
                                 sim/hud_world.cpp)
target_include_directories(bench_diagnostics PRIVATE sim)
target_link_libraries(bench_diagnostics PRIVATE artwheel_win)
target_link_options(bench_diagnostics PRIVATE ${ARTWHEEL_STATIC_RUNTIME})
artwheel_warnings(bench_diagnostics)
add_executable(bench_worker_tick bench/worker_tick_bench.cpp sim/host_image.cpp sim/game_world.cpp
                                 sim/desktop.cpp)
target_include_directories(bench_worker_tick PRIVATE sim)
target_link_libraries(bench_worker_tick PRIVATE artwheel_win)
target_link_options(bench_worker_tick PRIVATE ${ARTWHEEL_STATIC_RUNTIME})
artwheel_warnings(bench_worker_tick)
