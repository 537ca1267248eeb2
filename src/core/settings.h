#pragma once
// The in-memory configuration, filled once by LoadConfig on the worker thread.
#include <atomic>
#include <cstdint>

#include "input/slot_keys.h"

namespace artwheel {

inline constexpr int kSlotCount = 4;
static_assert(kSlotKeyCount == kSlotCount, "one keyboard key per slot");
inline constexpr uint32_t kDefaultDumpGlobalPointerLimit = 2000;
inline constexpr uint32_t kDefaultUiScanIntervalMs = 250;
inline constexpr uint32_t kMinUiScanIntervalMs = 50;

struct Settings {
  // Read by every thread that logs, hence atomic; everything else belongs to
  // the worker thread.
  std::atomic<bool> logEnabled{false};
  uint32_t slotArtIds[kSlotCount] = {};
  KeyBinding slotKeys[kSlotCount] = {};  // [Keys]; no key where nothing was bound
  bool overlayEnabled = false;
  bool skillPanelEnabled = false;
  bool skillPanelAnyResolution = false;
  bool uiScanEnabled = false;
  bool uiScanDetail = false;
  bool hudProbeEnabled = false;
  bool hudProbeGlobalFields = false;
  bool hudProbeDumpGlobalPointers = false;
  uint32_t dumpGlobalPointerLimit = kDefaultDumpGlobalPointerLimit;
  uint32_t uiScanIntervalMs = kDefaultUiScanIntervalMs;
};

extern Settings settings;

}  // namespace artwheel
