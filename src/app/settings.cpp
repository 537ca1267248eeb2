#include "app/settings.h"

#include <cstring>

#include "app/settings_file.h"
#include "app/slot_value.h"
#include "base/ini_file.h"
#include "base/ini_text.h"
#include "base/log.h"
#include "base/text_format.h"
#include "base/wide_path.h"

namespace artwheel {
namespace {

bool ReadIntFlag(const char* section, const char* key, const char* iniPath) {
  return ReadProfileUnsigned(iniPath, section, key, 0) != 0;
}

const char* OnOff(bool value) { return value ? "ON" : "OFF"; }

// A [SkillPanel] value without its comment; empty when the key is absent.
// The line is read whole, a comment after the value included, before the
// value's own length is looked at.
std::string_view ReadPanelValue(const char* iniPath, const char* key, char (&line)[256]) {
  const size_t length = ReadProfileText(iniPath, "SkillPanel", key, "", line, sizeof line);
  std::string_view value;
  if (CleanProfileValue(std::string_view(line, length), length >= sizeof line - 2, 24, value) ==
      ProfileValue::kTooLong) {
    return "(too long)";
  }
  return value;
}

void LogInvalidPanelValue(const char* key, std::string_view value, const char* valid,
                          const char* fallback) {
  WriteLogFormat("[Config] SkillPanel %s=%.*s is not valid (%s); the default %s holds", key,
                 static_cast<int>(value.size()), value.data(), valid, fallback);
}

// OffsetX, OffsetY and Opacity: whole numbers within [low, high].
void LoadPanelNumber(const char* iniPath, const char* key, int32_t low, int32_t high,
                     const char* valid, int32_t& out) {
  char value[256] = {};
  const std::string_view text = ReadPanelValue(iniPath, key, value);
  if (text.empty()) return;
  int32_t number = 0;
  if (ParseWholeNumber(text, &number) && number >= low && number <= high) {
    out = number;
    return;
  }
  char fallback[16];
  FormatText(fallback, sizeof fallback, "%d", out);
  LogInvalidPanelValue(key, text, valid, fallback);
}

// [SkillPanel] Corner, Scale, OffsetX, OffsetY, Opacity and ShowSlots; each
// value that is not valid is logged with its key and its default holds.
PanelLayout LoadPanelLayout(const char* iniPath) {
  PanelLayout layout;
  char value[256] = {};
  std::string_view text = ReadPanelValue(iniPath, "Corner", value);
  if (!text.empty() && !ParseCorner(text, &layout.corner)) {
    LogInvalidPanelValue("Corner", text, "BottomRight, BottomLeft, TopRight or TopLeft",
                         "BottomRight");
  }
  text = ReadPanelValue(iniPath, "Scale", value);
  uint32_t scale = 0;
  if (!text.empty()) {
    if (ParseScaleMilli(text, &scale) && scale >= kMinScaleMilli && scale <= kMaxScaleMilli) {
      layout.scaleMilli = scale;
    } else {
      LogInvalidPanelValue("Scale", text, "0.5 to 3.0", "1.0");
    }
  }
  const char* offsets = "-10000 to 10000 pixels at 1080p";
  LoadPanelNumber(iniPath, "OffsetX", -kMaxOffset, kMaxOffset, offsets, layout.offsetX);
  LoadPanelNumber(iniPath, "OffsetY", -kMaxOffset, kMaxOffset, offsets, layout.offsetY);
  auto opacity = static_cast<int32_t>(kDefaultOpacityPercent);
  LoadPanelNumber(iniPath, "Opacity", static_cast<int32_t>(kMinOpacityPercent), opacity,
                  "10 to 100", opacity);
  layout.opacityPercent = static_cast<uint32_t>(opacity);
  layout.showSlots = ReadIntFlag("SkillPanel", "ShowSlots", iniPath);
  return layout;
}

const char* NamesWord(ButtonNames names) {
  return names == ButtonNames::kPlayStation ? "PlayStation" : "Xbox";
}

// [SkillPanel], read in this one place.
void ReadSkillPanel(Settings& settings, const char* iniPath) {
  settings.skillPanelEnabled = ReadIntFlag("SkillPanel", "Enable", iniPath);
  settings.skillPanelAnyResolution = ReadIntFlag("SkillPanel", "AnyResolution", iniPath);
  settings.skillPanelLayout = LoadPanelLayout(iniPath);
}

// [Keys]: the slots' keyboard keys. An unknown name is logged and leaves the
// slot's key as it was: none at the start. The section is only read, never
// written.
void LoadSlotKey(Settings& settings, int slot, const char* iniPath) {
  const char* key = SlotInfo[slot].shortLabel;
  // One byte more than a name may take, so that a longer text is seen as such
  // instead of being cut into something that parses.
  char value[kMaxKeyNameText + 2] = {};
  const size_t length = ReadProfileText(iniPath, "Keys", key, "", value, sizeof value);
  const std::string_view text = StripInlineComment(std::string_view(value, length));
  KeyBinding& binding = settings.slotKeys[slot];
  KeyBinding parsed;
  if (text.empty()) {
    binding = KeyBinding{};
  } else if (length < sizeof value - 1 && ParseKeyName(text, &parsed)) {
    binding = parsed;
  } else if (binding.virtualKey == 0) {
    WriteLogFormat("[Config] Unknown key name \"%.*s\" in [Keys] %s; slot %d has no key",
                   static_cast<int>(text.size()), text.data(), key, slot);
  } else {
    WriteLogFormat("[Config] Unknown key name \"%.*s\" in [Keys] %s; slot %d keeps %s",
                   static_cast<int>(text.size()), text.data(), key, slot, binding.name);
  }
}

// A key given to two slots would only ever act for the first: said once, and
// the later slot left without it.
void DropRepeatedSlotKeys(Settings& settings) {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const int first = EarlierSlotWithBinding(settings.slotKeys, slot);
    if (first < 0) continue;
    WriteLogFormat("[Input] Key %s is bound to slot %d (%s) and slot %d (%s); slot %d has no key",
                   settings.slotKeys[slot].name, first, SlotInfo[first].shortLabel, slot,
                   SlotInfo[slot].shortLabel, slot);
    settings.slotKeys[slot] = KeyBinding{};
  }
}

void LoadSlotKeys(Settings& settings, const char* iniPath) {
  for (int slot = 0; slot < kSlotCount; ++slot) LoadSlotKey(settings, slot, iniPath);
  DropRepeatedSlotKeys(settings);
  if (!AnySlotKeyBound(settings.slotKeys)) return;
  auto shown = [&settings](int slot) {
    return settings.slotKeys[slot].virtualKey != 0 ? settings.slotKeys[slot].name : "-";
  };
  WriteLogFormat("[Config] Keys: Y=%s A=%s B=%s X=%s", shown(0), shown(1), shown(2), shown(3));
}

// A short text key without its inline comment; false when it is missing or
// empty. Longer text than the buffer holds is kept whole enough to be refused.
bool ReadWord(const char* iniPath, const char* section, const char* key, char (&value)[32],
              std::string_view* word) {
  const size_t length = ReadProfileText(iniPath, section, key, "", value, sizeof value);
  *word = StripInlineComment(std::string_view(value, length));
  return !word->empty();
}

// [Combination]: a refused word is logged and leaves its value as it was
// (the default at the start).
void LoadCombination(Settings& settings, const char* iniPath, bool logAlways) {
  settings.combinationEnabled = ReadProfileUnsigned(iniPath, "Combination", "Enable", 1) != 0;
  char value[32] = {};
  std::string_view word;
  if (ReadWord(iniPath, "Combination", "Modifier", value, &word) &&
      !ParseHeldButton(word, &settings.heldButton)) {
    WriteLogFormat("[Config] Unknown button \"%.*s\" in [Combination] Modifier; %s stays",
                   static_cast<int>(word.size()), word.data(),
                   kHeldButtons[static_cast<int>(settings.heldButton)].configName);
  }
  if (ReadWord(iniPath, "Combination", "ButtonNames", value, &word) &&
      !ParseButtonNames(word, &settings.buttonNames)) {
    WriteLogFormat("[Config] Unknown names \"%.*s\" in [Combination] ButtonNames; %s stays",
                   static_cast<int>(word.size()), word.data(), NamesWord(settings.buttonNames));
  }
  const Settings defaults;
  if (!logAlways && settings.combinationEnabled == defaults.combinationEnabled &&
      settings.heldButton == defaults.heldButton && settings.buttonNames == defaults.buttonNames) {
    return;
  }
  WriteLogFormat("[Config] Combination=%s Modifier=%s ButtonNames=%s",
                 OnOff(settings.combinationEnabled),
                 kHeldButtons[static_cast<int>(settings.heldButton)].configName,
                 NamesWord(settings.buttonNames));
}

// What applies at once: the slots, the overlay's and the panel's switches.
void ReadLiveSettings(Settings& settings, const char* iniPath) {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    settings.slotArtIds[slot] = ReadProfileUnsigned(iniPath, "Slots", SlotInfo[slot].shortLabel, 0);
  }
  settings.overlayEnabled = ReadIntFlag("Overlay", "Enable", iniPath);
  ReadSkillPanel(settings, iniPath);
}

// What applies at the next start only.
void ReadStartSettings(Settings& settings, const char* iniPath) {
  settings.logEnabled = ReadDebugFlag(iniPath);
  settings.applyChanges = ReadIntFlag("General", "ApplyChanges", iniPath);
  settings.uiScanEnabled = ReadIntFlag("UIScan", "Enable", iniPath);
  settings.uiScanDetail = ReadIntFlag("UIScan", "Detail", iniPath);
  settings.hudProbeEnabled = ReadIntFlag("HudProbe", "Enable", iniPath);
  settings.hudProbeGlobalFields = ReadIntFlag("HudProbe", "GlobalFields", iniPath);
  settings.hudProbeDumpGlobalPointers = ReadIntFlag("HudProbe", "DumpGlobalPointers", iniPath);
  const uint32_t limit = ReadProfileUnsigned(iniPath, "HudProbe", "DumpGlobalPointerLimit",
                                             kDefaultDumpGlobalPointerLimit);
  settings.dumpGlobalPointerLimit = limit == 0 ? 1 : limit;
  const uint32_t interval =
      ReadProfileUnsigned(iniPath, "UIScan", "IntervalMs", kDefaultUiScanIntervalMs);
  settings.uiScanIntervalMs = interval < kMinUiScanIntervalMs ? kMinUiScanIntervalMs : interval;
}

// One line for a slot value that is no known combat art id; the value itself
// is read as the profile functions convert it, as before.
void LogRefusedSlotValue(int slot, uint32_t artId, const char* iniPath) {
  const char* key = SlotInfo[slot].shortLabel;
  char raw[64] = {};
  const size_t length = ReadProfileText(iniPath, "Slots", key, "", raw, sizeof raw);
  const std::string_view text = StripInlineComment(std::string_view(raw, length));
  switch (ClassifySlotValue(text)) {
    case SlotValue::kEmpty:
    case SlotValue::kKnownArt:
      return;
    case SlotValue::kUnknownId:
      WriteLogFormat(
          "[Config] Slots %s=%u is not a known combat art id (5000 to 9900 in steps of 100); "
          "kept and sent to the game as it is",
          key, artId);
      return;
    case SlotValue::kNotANumber:
      WriteLogFormat("[Config] Slots %s=\"%.*s\" is not a number; read and saved as %s=%u", key,
                     static_cast<int>(text.size()), text.data(), key, artId);
      return;
  }
}

void LogRefusedSlotValues(const Settings& settings, const char* iniPath) {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    LogRefusedSlotValue(slot, settings.slotArtIds[slot], iniPath);
  }
}

void WriteNormalisedKeys(const Settings& settings, const char* iniPath) {
  unsigned long firstError = 0;
  auto write = [&](const char* section, const char* key, uint32_t value) {
    if (!WriteProfileUnsigned(iniPath, section, key, value) && firstError == 0) {
      firstError = GetLastError();
      if (firstError == 0) firstError = ERROR_WRITE_FAULT;
    }
  };
  for (int slot = 0; slot < kSlotCount; ++slot) {
    write("Slots", SlotInfo[slot].shortLabel, settings.slotArtIds[slot]);
  }
  write("Overlay", "Enable", settings.overlayEnabled ? 1 : 0);
  write("SkillPanel", "Enable", settings.skillPanelEnabled ? 1 : 0);
  if (firstError != 0) {
    WriteLogFormat("[Config] Could not write the normalised keys to %s (error %lu)", iniPath,
                   firstError);
  }
}

void LogLoaded(const Settings& settings, const char* iniPath, const char* verb) {
  WriteLogFormat(
      "[Config] %s from %s; slots: Y=%u A=%u B=%u X=%u Overlay=%s SkillPanel=%s UIScan=%s "
      "Detail=%s HudProbe=%s GlobalFields=%s DumpGlobalPointers=%s DumpGlobalPointerLimit=%u",
      verb, iniPath, settings.slotArtIds[0], settings.slotArtIds[1], settings.slotArtIds[2],
      settings.slotArtIds[3], OnOff(settings.overlayEnabled), OnOff(settings.skillPanelEnabled),
      OnOff(settings.uiScanEnabled), OnOff(settings.uiScanDetail), OnOff(settings.hudProbeEnabled),
      OnOff(settings.hudProbeGlobalFields), OnOff(settings.hudProbeDumpGlobalPointers),
      settings.dumpGlobalPointerLimit);
  if (settings.skillPanelAnyResolution) {
    WriteLogLine("[Config] SkillPanel AnyResolution=ON: the panel is fitted to other screen sizes");
  }
  if (settings.skillPanelLayout.showSlots) {
    WriteLogFormat("[Config] SkillPanel ShowSlots=ON: the four slots show while %s is held",
                   HeldButtonWords(settings.heldButton, settings.buttonNames));
  }
}

// The worker's view of [SkillPanel] Enable for the overlay, with the stamp it was read at.
struct PanelSwitchCache {
  FileStamp stamp;
  bool known = false;
  bool enabled = false;
};

PanelSwitchCache panelSwitch;  // worker thread only

// The file as this library last read or wrote it, and the slots assigned in
// the game since it was last read. Worker thread only.
struct SettingsWatch {
  FileStamp stamp;
  bool known = false;
  // Seen changed by a look that could not read it whole (held, empty, or
  // changed again while read): read at the next look even if the stamp has
  // come back to the known one, as a copy that keeps its source's write time
  // may bring it back.
  bool changeUnread = false;
  bool assigned[kSlotCount] = {};
  uint32_t replacedIds[kSlotCount] = {};  // the file's value before the first of them
};

SettingsWatch watch;

bool ChangedSinceKnown(const char* iniPath) {
  FileStamp stamp;
  return !watch.known || watch.changeUnread || !ReadFileStamp(iniPath, &stamp) ||
         !SameFileStamp(watch.stamp, stamp);
}

// A write of ours is no change of the player's: its stamp becomes the known
// one, unless the player had changed the file before it; then the next look
// reads the file, which holds both.
void TakeWrittenStamp(const char* iniPath, bool unchangedBefore) {
  FileStamp stamp;
  watch.known = unchangedBefore && iniPath[0] != '\0' && ReadFileStamp(iniPath, &stamp);
  if (watch.known) watch.stamp = stamp;
}

// An editor's older copy of the file, saved after a slot was assigned in the
// game, brings back the value that the assignment replaced: the assignment is
// kept and written again, as often as the copy is saved. Any other value is
// the player's own choice, and ends the watch over that slot.
void KeepInGameAssignments(Settings& next, const Settings& current, const char* iniPath) {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const uint32_t assigned = current.slotArtIds[slot];
    if (!watch.assigned[slot] || next.slotArtIds[slot] == assigned) continue;
    if (next.slotArtIds[slot] != watch.replacedIds[slot]) {
      watch.assigned[slot] = false;
      continue;
    }
    WriteLogFormat("[Config] Slot %d (%s) keeps combat art id %u assigned in the game over %u",
                   slot, SlotInfo[slot].shortLabel, assigned, next.slotArtIds[slot]);
    next.slotArtIds[slot] = assigned;
    WriteProfileUnsigned(iniPath, "Slots", SlotInfo[slot].shortLabel, assigned);
    TakeWrittenStamp(iniPath, true);
  }
}

// Appends `name` to the list of keys that wait for the next start.
void ListKey(char (&list)[160], size_t& used, const char* name) {
  const int written =
      FormatText(list + used, sizeof list - used, "%s%s", used == 0 ? "" : ", ", name);
  if (written > 0) used += static_cast<size_t>(written);
}

void LogRestartKeys(const Settings& current, const char* iniPath) {
  Settings file = current;
  ReadStartSettings(file, iniPath);
  char list[160] = {};
  size_t used = 0;
  if (file.logEnabled != current.logEnabled) ListKey(list, used, "IsDebug");
  if (file.applyChanges != current.applyChanges) ListKey(list, used, "[General] ApplyChanges");
  if (!SameChainPathAsAtStart(iniPath)) ListKey(list, used, "[Chainload]");
  if (file.uiScanEnabled != current.uiScanEnabled || file.uiScanDetail != current.uiScanDetail ||
      file.uiScanIntervalMs != current.uiScanIntervalMs) {
    ListKey(list, used, "[UIScan]");
  }
  if (file.hudProbeEnabled != current.hudProbeEnabled ||
      file.hudProbeGlobalFields != current.hudProbeGlobalFields ||
      file.hudProbeDumpGlobalPointers != current.hudProbeDumpGlobalPointers ||
      file.dumpGlobalPointerLimit != current.dumpGlobalPointerLimit) {
    ListKey(list, used, "[HudProbe]");
  }
  if (used > 0) WriteLogFormat("[Config] Changed keys that apply at the next start: %s", list);
}

}  // namespace

void LoadConfig(Settings& settings) {
  const char* iniPath = ConfigIniPath();

  ReadStartSettings(settings, iniPath);
  SetLogEnabled(settings.logEnabled);
  LogStarterCopy();
  ReadLiveSettings(settings, iniPath);

  if (iniPath[0] != '\0') {
    LogRefusedSlotValues(settings, iniPath);
    WriteNormalisedKeys(settings, iniPath);
  }
  LogLoaded(settings, iniPath, "Loaded");
  LoadSlotKeys(settings, iniPath);
  LoadCombination(settings, iniPath, false);
  if (settings.applyChanges) {
    WriteLogLine("[Config] ApplyChanges=ON: changes to artwheel.ini apply while the game runs");
  }
  TakeWrittenStamp(iniPath, true);
}

bool SaveSlotArt(int slot, uint32_t artId, unsigned long* error) {
  const char* iniPath = ConfigIniPath();
  if (iniPath[0] == '\0') {
    if (error != nullptr) *error = ERROR_FILENAME_EXCED_RANGE;
    return false;
  }
  const char* key = SlotInfo[slot].shortLabel;
  const bool unchangedBefore = !ChangedSinceKnown(iniPath);
  if (!watch.assigned[slot]) {
    watch.replacedIds[slot] = ReadProfileUnsigned(iniPath, "Slots", key, 0);
    watch.assigned[slot] = true;
  }
  const bool saved = WriteProfileUnsigned(iniPath, "Slots", key, artId);
  if (error != nullptr) *error = saved ? 0 : GetLastError();
  TakeWrittenStamp(iniPath, unchangedBefore);
  return saved;
}

bool ReloadConfigIfChanged(Settings& settings, void (*apply)(const Settings&)) {
  const char* iniPath = SettingsFilePath();
  FileStamp before;
  if (iniPath[0] == '\0' || !ReadFileStamp(iniPath, &before)) return false;
  if (watch.known && !watch.changeUnread && SameFileStamp(watch.stamp, before)) return false;
  watch.changeUnread = true;
  // Empty or held by an editor: most likely half written; looked at again later.
  if ((before.sizeLow == 0 && before.sizeHigh == 0) || !CanOpenFile(iniPath)) return false;
  Settings next = settings;
  ReadLiveSettings(next, iniPath);
  LogRefusedSlotValues(next, iniPath);
  LoadSlotKeys(next, iniPath);
  LoadCombination(next, iniPath, true);
  FileStamp after;
  if (!ReadFileStamp(iniPath, &after) || !SameFileStamp(before, after)) return false;
  watch.stamp = after;
  watch.known = true;
  watch.changeUnread = false;
  KeepInGameAssignments(next, settings, iniPath);
  LogRestartKeys(settings, iniPath);
  settings = next;
  apply(settings);
  LogLoaded(settings, iniPath, "Reloaded");
  return true;
}

bool SkillPanelEnabledInFile() {
  const char* iniPath = SettingsFilePath();
  if (iniPath[0] == '\0') return false;
  FileStamp stamp;
  if (!ReadFileStamp(iniPath, &stamp)) {
    panelSwitch.known = false;
    return ReadIntFlag("SkillPanel", "Enable", iniPath);
  }
  if (panelSwitch.known && SameFileStamp(panelSwitch.stamp, stamp)) return panelSwitch.enabled;
  panelSwitch.enabled = ReadIntFlag("SkillPanel", "Enable", iniPath);
  panelSwitch.known = true;
  panelSwitch.stamp = stamp;
  return panelSwitch.enabled;
}

}  // namespace artwheel
