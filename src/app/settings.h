#pragma once
// artwheel.ini beside the library: the one module that knows its sections and
// keys and reads or writes it. The worker loads the settings once into a
// Settings value of its own and hands each subsystem what it needs.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "input/combo.h"
#include "input/slot_keys.h"
#include "overlay/panel_layout.h"
#include "slots/slot_labels.h"

namespace artwheel {

static_assert(kSlotKeyCount == kSlotCount, "one keyboard key per slot");

inline constexpr char kIniFileName[] = "artwheel.ini";
// The release's own configuration: artwheel.ini is made from it when missing,
// and a new release unpacked over an old one never replaces the player's file.
inline constexpr char kStarterFileName[] = "artwheel.starter.ini";
inline constexpr size_t kPathSize = 260;
inline constexpr size_t kChainPathSize = 1024;
// A chain path's line with its comment: read whole before the comment is removed.
inline constexpr size_t kChainLineSize = 8192;
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

// Works out, once at attach, the library's folder and the path of
// artwheel.ini in it; every later reader uses this one answer. A missing
// artwheel.ini is made from the starter file beside it first.
void LocateSettingsFile(HMODULE library);

// Full path of artwheel.ini beside the library, in UTF-8. The bare file name when the
// library's folder is unknown; an empty text (logged once) when the path
// would not fit its 260 bytes.
const char* ConfigIniPath();

// Folder of the module's file with its trailing backslash; false (and an empty
// text) when the path cannot be read, has no backslash or does not fit.
bool ModuleDirectory(HMODULE module, char* out, size_t size);

// Switches logging on or off from [General] IsDebug before the first line;
// the line scanner's value wins.
void LoadDebugSetting();

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

// The chained provider's file as artwheel.ini names it: [Chainload]
// chainDInput8dllPath, else the key anywhere in the file; empty when neither is
// set. The library's folder and the file's path come with it; false (logged)
// when the folder is unknown.
bool ReadChainSetting(char (&folder)[kPathSize], char (&iniPath)[kPathSize], char* value,
                      size_t size);

// The chain path of the given file (the rules of ReadChainSetting).
void ReadChainPath(const char* iniPath, char* out, size_t size);

// Worker thread, for the overlay: [SkillPanel] Enable as it stands in the
// file now. Read again only when the file's size or last-write time changed:
// a profile read costs hundreds of microseconds, a file-attribute query tens.
bool SkillPanelEnabledInFile();

}  // namespace artwheel
