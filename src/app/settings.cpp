#include "app/settings.h"

#include <cstring>
#include <string_view>

#include "app/settings_keys.h"
#include "app/settings_read.h"
#include "app/settings_watch.h"
#include "app/slot_value.h"
#include "base/ini_file.h"
#include "base/ini_text.h"
#include "base/log.h"
#include "base/text_format.h"

namespace artwheel {
namespace {

void WriteNormalisedKeys(const Settings& settings, const char* iniPath) {
  unsigned long firstError = 0;
  for (size_t i = 0; i < kSettingKeyCount; ++i) {
    const SettingKey& key = kSettingKeys[i];
    if (!key.writtenBack) continue;
    char value[kShownSize];
    ShowKey(key, settings, ShowStyle::kFile, value, sizeof value);
    if (!WriteProfileText(iniPath, key.section, key.name, value) && firstError == 0) {
      firstError = GetLastError();
      if (firstError == 0) firstError = ERROR_WRITE_FAULT;
    }
  }
  if (firstError != 0) {
    WriteLogFormat("[Config] Could not write the normalised keys to %s (error %lu)", iniPath,
                   firstError);
  }
}

// At start player 1's pad, as ever, goes without a word; a change says so.
void LogControllerChoice(PadChoice controller) {
  if (controller == PadChoice::kAuto) {
    WriteLogLine(
        "[Config] Combination Controller=Auto: the combinations follow the pads the "
        "game reads");
    return;
  }
  const unsigned player = static_cast<unsigned>(controller);
  WriteLogFormat(
      "[Config] Combination Controller=%u: the combinations follow player %u's pad "
      "alone",
      player, player);
}

// "Y=5000 A=0 ... DumpGlobalPointerLimit=2000": the keys the summary names, in its order.
void FormatSummary(const Settings& settings, char* out, size_t size) {
  size_t used = 0;
  out[0] = '\0';
  for (int order = 1;; ++order) {
    const SettingKey* named = nullptr;
    for (size_t i = 0; i < kSettingKeyCount && named == nullptr; ++i) {
      if (kSettingKeys[i].summaryOrder == order) named = &kSettingKeys[i];
    }
    if (named == nullptr) return;
    char value[kShownSize];
    ShowKey(*named, settings, ShowStyle::kLog, value, sizeof value);
    const int written = FormatText(out + used, size - used, "%s%s=%s", used == 0 ? "" : " ",
                                   named->summaryName, value);
    if (written < 0) return;
    used += static_cast<size_t>(written);
  }
}

void LogLoaded(const Settings& settings, const char* iniPath, const char* verb) {
  char summary[320];
  FormatSummary(settings, summary, sizeof summary);
  WriteLogFormat("[Config] %s from %s; slots: %s", verb, iniPath, summary);
  if (settings.overlay.anyResolution) {
    WriteLogLine("[Config] SkillPanel AnyResolution=ON: the panel is fitted to other screen sizes");
  }
  if (settings.overlay.layout.showSlots) {
    WriteLogFormat("[Config] SkillPanel ShowSlots=ON: the four slots show while %s is held",
                   HeldButtonWords(settings.heldButton, settings.buttonNames));
  }
}

// After a write of ours, the file is known again only when nothing else
// changed it: its stamp holds still while it is read, and it holds exactly
// what was known plus what was written. An editor's save that landed in
// between is read at the next look.
void TakeWrittenFile(const char* iniPath, bool unchangedBefore, const Settings& expected) {
  FileStamp before;
  FileStamp after;
  if (!unchangedBefore || iniPath[0] == '\0' || !ReadFileStamp(iniPath, &before)) {
    NoteOwnWrite(false, before);
    return;
  }
  const Settings inFile = ReadFileValues(iniPath);
  const bool known = SameFileValues(inFile, expected) && ReadFileStamp(iniPath, &after) &&
                     SameFileStamp(before, after);
  NoteOwnWrite(known, before);
  if (known) RememberFileValues(inFile);
}

// Stores an in-game value in [Slots] and counts the write as ours.
bool WriteSlot(const char* iniPath, int slot, uint32_t artId, bool unchangedBefore) {
  const bool saved = WriteProfileUnsigned(iniPath, "Slots", SlotInfo[slot].shortLabel, artId);
  Settings expected = KnownFileValues();
  expected.slotArtIds[slot] = artId;
  TakeWrittenFile(iniPath, saved && unchangedBefore, expected);
  return saved;
}

// An editor's older copy of the file, saved after slots were assigned in the
// game, brings back a value that an assignment replaced: the assignment is
// kept and written again, as often as the copy is saved. Any other value is
// the player's own choice, and ends the watch over that slot.
void KeepInGameAssignments(Settings& next, const Settings& current, const char* iniPath) {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const uint32_t assigned = current.slotArtIds[slot];
    if (!IsSlotWatched(slot) || next.slotArtIds[slot] == assigned) continue;
    if (!IsReplacedSlotValue(slot, next.slotArtIds[slot])) {
      EndSlotWatch(slot);
      continue;
    }
    WriteLogFormat("[Config] Slot %d (%s) keeps combat art id %u assigned in the game over %u",
                   slot, SlotInfo[slot].shortLabel, assigned, next.slotArtIds[slot]);
    next.slotArtIds[slot] = assigned;
    WriteSlot(iniPath, slot, assigned, true);
  }
}

void LogRestartKeys(const Settings& current, const char* iniPath) {
  Settings file = current;
  ReadPass pass{iniPath, true, false, false, true};
  ReadKeys(file, pass, ReadStep::kBeforeSummary);
  ReadKeys(file, pass, ReadStep::kAfterSummary);
  char list[160] = {};
  size_t used = 0;
  const char* lastGroup = nullptr;
  for (size_t i = 0; i < kSettingKeyCount; ++i) {
    const SettingKey& key = kSettingKeys[i];
    if (key.applies != Applies::kAtNextStart || key.restartGroup == lastGroup) continue;
    const bool changed =
        key.parse == nullptr ? !SameChainPathAsAtStart(iniPath) : !SameKeyValue(key, file, current);
    if (!changed) continue;
    lastGroup = key.restartGroup;
    const int written = FormatText(list + used, sizeof list - used, "%s%s", used == 0 ? "" : ", ",
                                   key.restartGroup);
    if (written > 0) used += static_cast<size_t>(written);
  }
  if (used > 0) WriteLogFormat("[Config] Changed keys that apply at the next start: %s", list);
}

const SettingKey& PanelSwitchKey() {
  for (size_t i = 0; i < kSettingKeyCount; ++i) {
    if (std::strcmp(kSettingKeys[i].section, "SkillPanel") == 0 &&
        std::strcmp(kSettingKeys[i].name, "Enable") == 0) {
      return kSettingKeys[i];
    }
  }
  return kSettingKeys[0];
}

bool ReadPanelSwitch(const char* iniPath) {
  Settings values;
  ReadKey(PanelSwitchKey(), values, ReadPass{iniPath, true, false, false, false});
  return values.skillPanelEnabled;
}

// The worker's view of [SkillPanel] Enable for the overlay, with the change
// count and stamp it was read at.
struct PanelSwitchCache {
  uint64_t changeCount = 0;
  FileStamp stamp;
  bool known = false;
  bool enabled = false;
};

PanelSwitchCache panelSwitch;  // worker thread only

}  // namespace

void LoadConfig(Settings& settings) {
  const char* iniPath = ConfigIniPath();
  Settings loaded;
  const ReadPass pass{iniPath, true, true, false, false};
  ReadKey(kSettingKeys[0], loaded, pass);  // IsDebug: logging is decided before any line
  SetLogEnabled(loaded.logEnabled);
  LogStarterCopy();
  ReadKeys(loaded, pass, ReadStep::kBeforeSummary);
  if (iniPath[0] != '\0') WriteNormalisedKeys(loaded, iniPath);
  LogLoaded(loaded, iniPath, "Loaded");
  ReadKeys(loaded, pass, ReadStep::kAfterSummary);
  if (loaded.controller != PadChoice::kPlayer1) LogControllerChoice(loaded.controller);
  if (loaded.applyChanges) {
    WriteLogLine("[Config] ApplyChanges=ON: changes to artwheel.ini apply while the game runs");
  }
  settings = loaded;
  for (int slot = 0; slot < kSlotCount; ++slot) EndSlotWatch(slot);  // nothing assigned yet
  SettingsChangeCount();  // watched from here on: a change after this read is signalled
  FileStamp stamp;
  if (iniPath[0] != '\0' && ReadFileStamp(iniPath, &stamp)) {
    RememberFileValues(ReadFileValues(iniPath));
    NoteFileRead(stamp);
  }
}

bool SaveSlotArt(int slot, uint32_t artId, unsigned long* error) {
  const char* iniPath = ConfigIniPath();
  if (iniPath[0] == '\0') {
    if (error != nullptr) *error = ERROR_FILENAME_EXCED_RANGE;
    return false;
  }
  const bool unchangedBefore = !ChangedSinceKnown(iniPath);
  NoteReplacedSlotValue(slot, ReadProfileUnsigned(iniPath, "Slots", SlotInfo[slot].shortLabel, 0));
  const bool saved = WriteSlot(iniPath, slot, artId, unchangedBefore);
  if (error != nullptr) *error = saved ? 0 : GetLastError();
  return saved;
}

bool SaveSettingKeys(const Settings& settings, const SettingKey* const* keys, int count,
                     unsigned long* error) {
  const char* iniPath = ConfigIniPath();
  *error = 0;
  if (iniPath[0] == '\0') {
    *error = ERROR_FILENAME_EXCED_RANGE;
    return false;
  }
  const bool unchangedBefore = !ChangedSinceKnown(iniPath);
  Settings expected = KnownFileValues();
  for (int i = 0; i < count; ++i) {
    const SettingKey& key = *keys[i];
    char value[kShownSize];
    ShowKey(key, settings, ShowStyle::kFile, value, sizeof value);
    if (WriteProfileText(iniPath, key.section, key.name, value)) {
      ParseKeyText(key, value, false, expected);
    } else if (*error == 0) {
      *error = GetLastError();
      if (*error == 0) *error = ERROR_WRITE_FAULT;
    }
  }
  TakeWrittenFile(iniPath, *error == 0 && unchangedBefore, expected);
  return *error == 0;
}

bool ReloadConfigIfChanged(Settings& settings, void (*apply)(const Settings&)) {
  static uint64_t seenChanges = 0;
  const char* iniPath = SettingsFilePath();
  const uint64_t changes = SettingsChangeCount();
  if (iniPath[0] == '\0' || (changes == seenChanges && !IsChangeUnread())) return false;
  FileStamp before;
  if (!ReadFileStamp(iniPath, &before)) return false;
  seenChanges = changes;
  if (!IsChangeUnread() && IsStampKnown(before)) return false;
  NoteChangeUnread();
  // Empty or held by an editor: most likely half written; looked at again later.
  if ((before.sizeLow == 0 && before.sizeHigh == 0) || !CanOpenFile(iniPath)) return false;
  Settings next = settings;
  const ReadPass pass{iniPath, false, true, true, false};
  ReadKeys(next, pass, ReadStep::kBeforeSummary);
  ReadKeys(next, pass, ReadStep::kAfterSummary);
  FileStamp after;
  if (!ReadFileStamp(iniPath, &after) || !SameFileStamp(before, after)) return false;
  RememberFileValues(ReadFileValues(iniPath));
  NoteFileRead(after);
  KeepInGameAssignments(next, settings, iniPath);
  LogRestartKeys(settings, iniPath);
  const bool controllerChanged = next.controller != settings.controller;
  settings = next;
  apply(settings);
  LogLoaded(settings, iniPath, "Reloaded");
  if (controllerChanged) LogControllerChoice(settings.controller);
  return true;
}

bool SkillPanelEnabledInFile() {
  const char* iniPath = SettingsFilePath();
  if (iniPath[0] == '\0') return false;
  const uint64_t changes = SettingsChangeCount();
  if (panelSwitch.known && panelSwitch.changeCount == changes) return panelSwitch.enabled;
  FileStamp stamp;
  if (!ReadFileStamp(iniPath, &stamp)) {
    panelSwitch.known = false;
    return ReadPanelSwitch(iniPath);
  }
  panelSwitch.changeCount = changes;
  if (panelSwitch.known && SameFileStamp(panelSwitch.stamp, stamp)) return panelSwitch.enabled;
  panelSwitch.enabled = ReadPanelSwitch(iniPath);
  panelSwitch.known = true;
  panelSwitch.stamp = stamp;
  return panelSwitch.enabled;
}

}  // namespace artwheel
