#pragma once
// The settings as the worker holds them: one plain record, filled from
// artwheel.ini by the key table (settings_keys.h). Platform-free.
#include <cstdint>

#include "input/combo.h"
#include "input/menu_settings.h"
#include "input/pad_choice.h"
#include "input/slot_keys.h"
#include "overlay/overlay_settings.h"
#include "overlay/panel_layout.h"
#include "slots/slot_labels.h"
#include "words/language.h"

namespace artwheel {

static_assert(kSlotKeyCount == kSlotCount, "one keyboard key per slot");

inline constexpr uint32_t kDefaultDumpGlobalPointerLimit = 2000;
inline constexpr uint32_t kDefaultUiScanIntervalMs = 250;
inline constexpr uint32_t kMinUiScanIntervalMs = 50;

struct Settings {
  bool logEnabled = false;               // [General] IsDebug
  bool applyChanges = false;             // [General] ApplyChanges
  Language language = Language::kEn;     // [General] Language
  uint32_t slotArtIds[kSlotCount] = {};  // [Slots]
  KeyBinding slotKeys[kSlotCount] = {};  // [Keys]; no key where nothing was bound
  bool overlayEnabled = false;           // [Overlay] Enable
  bool skillPanelEnabled = false;        // [SkillPanel] Enable
  // [SkillPanel] AnyResolution, Corner ... ShowSlots: the overlay's own record,
  // handed over whole (its folder is filled at the hand-over).
  OverlaySettings overlay;
  bool combinationEnabled = true;                 // [Combination] Enable
  HeldButton heldButton = HeldButton::kDpadDown;  // [Combination] Modifier
  ButtonNames buttonNames = ButtonNames::kXbox;   // [Combination] ButtonNames
  PadChoice controller = PadChoice::kPlayer1;     // [Combination] Controller
  MenuSettings menu;                              // [Menu], [Keys] Menu
  bool uiScanEnabled = false;
  bool uiScanDetail = false;
  uint32_t uiScanIntervalMs = kDefaultUiScanIntervalMs;
  bool hudProbeEnabled = false;
  bool hudProbeGlobalFields = false;
  bool hudProbeDumpGlobalPointers = false;
  uint32_t dumpGlobalPointerLimit = kDefaultDumpGlobalPointerLimit;
};

}  // namespace artwheel
