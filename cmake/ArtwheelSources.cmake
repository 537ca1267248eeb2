# Decision logic: no windows.h, built for both targets and tested natively.
set(ARTWHEEL_LOGIC_SOURCES
  ${PROJECT_SOURCE_DIR}/src/core/ini_text.cpp
  ${PROJECT_SOURCE_DIR}/src/core/ini_scan.cpp
  ${PROJECT_SOURCE_DIR}/src/core/host_name.cpp
  ${PROJECT_SOURCE_DIR}/src/core/text_format.cpp
  ${PROJECT_SOURCE_DIR}/src/core/export_listing.cpp
  ${PROJECT_SOURCE_DIR}/src/diagnostics/hud_sets.cpp
  ${PROJECT_SOURCE_DIR}/src/diagnostics/key_index.cpp
  ${PROJECT_SOURCE_DIR}/src/diagnostics/watch_state.cpp
  ${PROJECT_SOURCE_DIR}/src/input/combo.cpp
  ${PROJECT_SOURCE_DIR}/src/input/device_filter.cpp
  ${PROJECT_SOURCE_DIR}/src/input/slot_keys.cpp
  ${PROJECT_SOURCE_DIR}/src/overlay/overlay_layout.cpp
  ${PROJECT_SOURCE_DIR}/src/slots/panel_schedule.cpp
)
