# Decision logic: no windows.h, built for both targets and tested natively.
set(ARTWHEEL_LOGIC_SOURCES
  ${PROJECT_SOURCE_DIR}/src/base/ini_text.cpp
  ${PROJECT_SOURCE_DIR}/src/base/ini_scan.cpp
  ${PROJECT_SOURCE_DIR}/src/base/log_hand_over.cpp
  ${PROJECT_SOURCE_DIR}/src/base/log_turn.cpp
  ${PROJECT_SOURCE_DIR}/src/base/patch.cpp
  ${PROJECT_SOURCE_DIR}/src/base/text_format.cpp
  ${PROJECT_SOURCE_DIR}/src/base/utf8_text.cpp
  ${PROJECT_SOURCE_DIR}/src/game/host_name.cpp
  ${PROJECT_SOURCE_DIR}/src/game/address_checks.cpp
  ${PROJECT_SOURCE_DIR}/src/app/export_listing.cpp
  ${PROJECT_SOURCE_DIR}/src/app/chain_path.cpp
  ${PROJECT_SOURCE_DIR}/src/app/slot_value.cpp
  ${PROJECT_SOURCE_DIR}/src/app/settings_key_values.cpp
  ${PROJECT_SOURCE_DIR}/src/app/settings_keys.cpp
  ${PROJECT_SOURCE_DIR}/src/app/menu_items.cpp
  ${PROJECT_SOURCE_DIR}/src/app/menu_texts.cpp
  ${PROJECT_SOURCE_DIR}/src/diagnostics/hud_sets.cpp
  ${PROJECT_SOURCE_DIR}/src/diagnostics/key_index.cpp
  ${PROJECT_SOURCE_DIR}/src/diagnostics/watch_state.cpp
  ${PROJECT_SOURCE_DIR}/src/input/combo.cpp
  ${PROJECT_SOURCE_DIR}/src/input/device_filter.cpp
  ${PROJECT_SOURCE_DIR}/src/input/menu_chord.cpp
  ${PROJECT_SOURCE_DIR}/src/input/menu_navigation.cpp
  ${PROJECT_SOURCE_DIR}/src/input/menu_gate.cpp
  ${PROJECT_SOURCE_DIR}/src/input/pad_follow.cpp
  ${PROJECT_SOURCE_DIR}/src/input/slot_keys.cpp
  ${PROJECT_SOURCE_DIR}/src/overlay/hdr_output.cpp
  ${PROJECT_SOURCE_DIR}/src/overlay/image_retry.cpp
  ${PROJECT_SOURCE_DIR}/src/overlay/overlay_layout.cpp
  ${PROJECT_SOURCE_DIR}/src/overlay/panel_layout.cpp
  ${PROJECT_SOURCE_DIR}/src/overlay/menu_layout.cpp
  ${PROJECT_SOURCE_DIR}/src/slots/combat_arts.cpp
  ${PROJECT_SOURCE_DIR}/src/slots/panel_schedule.cpp
  ${PROJECT_SOURCE_DIR}/src/slots/slot_decisions.cpp
  ${PROJECT_SOURCE_DIR}/src/slots/slot_labels.cpp
  ${PROJECT_SOURCE_DIR}/src/overlay/line_breaks.cpp
)
# The overlay's words: one table per language.
file(GLOB ARTWHEEL_WORDS_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/words/*.cpp)
list(APPEND ARTWHEEL_LOGIC_SOURCES ${ARTWHEEL_WORDS_SOURCES})

# The decision logic and its unit tests, natively under AddressSanitizer and
# UBSan (the default and the clang preset).
function(artwheel_add_native_unit_tests)
  set(sanitize -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_library(artwheel_logic STATIC ${ARTWHEEL_LOGIC_SOURCES})
  target_include_directories(artwheel_logic PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(artwheel_logic PUBLIC ${sanitize})
  target_link_options(artwheel_logic PUBLIC ${sanitize})
  artwheel_warnings(artwheel_logic)

  file(GLOB unitTests CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/unit/*.cpp)
  add_executable(unit_tests ${unitTests})
  target_link_libraries(unit_tests PRIVATE artwheel_logic gtest_main)
  # The key table's test reads the starter file, the guide and the README.
  target_compile_definitions(unit_tests PRIVATE ARTWHEEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  artwheel_warnings(unit_tests)
  artwheel_precompile_test_headers(unit_tests)
endfunction()

# Headers every file of a test program parses, parsed once per program: with
# GCC only, so that clang's builds (and clang-tidy) see each file as written.
function(artwheel_precompile_headers target)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_precompile_headers(${target} PRIVATE ${ARGN})
  endif()
endfunction()

function(artwheel_precompile_test_headers target)
  artwheel_precompile_headers(${target} <gtest/gtest.h> <string> <vector> ${ARGN})
endfunction()
