#pragma once
// artwheel.ini beside the library: the one module that knows its sections and
// keys and reads or writes it. The worker loads the settings once into a
// Settings value of its own and hands each subsystem what it needs.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "app/settings_file.h"
#include "input/combo.h"
#include "input/slot_keys.h"
#include "overlay/panel_layout.h"
#include "slots/slot_labels.h"

namespace artwheel {

static_assert(kSlotKeyCount == kSlotCount, "one keyboard key per slot");

inline constexpr uint32_t kDefaultDumpGlobalPointerLimit = 2000;
inline constexpr uint32_t kDefaultUiScanIntervalMs = 250;
inline constexpr uint32_t kMinUiScanIntervalMs = 50;

struct Settings {
  bool logEnabled = false;
  uint32_t slotArtIds[kSlotCount] = {};
  KeyBinding slotKeys[kSlotCount] = {};  // [Keys]; no key where nothing was bound
  bool overlayEnabled = false;
  bool skillPanelEnabled = false;
  bool skillPanelAnyResolution = false;
  PanelLayout skillPanelLayout;                   // [SkillPanel] Corner ... ShowSlots
  bool combinationEnabled = true;                 // [Combination] Enable
  HeldButton heldButton = HeldButton::kDpadDown;  // [Combination] Modifier
  ButtonNames buttonNames = ButtonNames::kXbox;   // [Combination] ButtonNames
  bool applyChanges = false;                      // [General] ApplyChanges
  bool uiScanEnabled = false;
  bool uiScanDetail = false;
  bool hudProbeEnabled = false;
  bool hudProbeGlobalFields = false;
  bool hudProbeDumpGlobalPointers = false;
  uint32_t dumpGlobalPointerLimit = kDefaultDumpGlobalPointerLimit;
  uint32_t uiScanIntervalMs = kDefaultUiScanIntervalMs;
};

// Reads every setting into `settings`, writes the normalised slot and enable
// keys back and logs a summary.
void LoadConfig(Settings& settings);

// Stores one slot's combat art id in [Slots]; false when nothing was written,
// with the system's error code in `error` when asked for.
bool SaveSlotArt(int slot, uint32_t artId, unsigned long* error = nullptr);

// [General] ApplyChanges: when the file changed since it was last read or
// written here, reads [Slots], [Keys], [Combination], [Overlay] Enable and
// [SkillPanel] again into `settings`, hands them to `apply`, then logs what was
// applied; the other keys keep their values until the next start. False when
// nothing was applied: the file is unchanged, missing, locked, or changed
// again while it was read (it is looked at again later).
bool ReloadConfigIfChanged(Settings& settings, void (*apply)(const Settings&));

// Worker thread, for the overlay: [SkillPanel] Enable as it stands in the
// file now. Read again only when the file's size or last-write time changed:
// a profile read costs hundreds of microseconds, a file-attribute query tens.
bool SkillPanelEnabledInFile();

}  // namespace artwheel
