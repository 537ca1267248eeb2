#include "app/settings.h"

#include <cstring>
#include <string_view>

#include "app/settings_keys.h"
#include "app/settings_watch.h"
#include "app/slot_value.h"
#include "base/ini_file.h"
#include "base/ini_text.h"
#include "base/log.h"
#include "base/text_format.h"

namespace artwheel {
namespace {

constexpr size_t kShownSize = 64;

// Which keys a pass reads, and whether it speaks.
struct ReadPass {
  const char* iniPath;
  bool atStart;  // a refused value leaves the default (start) or the previous value (reload)
  bool logged;   // refused values and notes are logged
  bool onlyAtOnce;
  bool onlyStart;  // the keys that apply at the next start
};

bool Selected(const SettingKey& key, const ReadPass& pass) {
  if (key.parse == nullptr) return false;
  if (pass.onlyAtOnce && key.applies != Applies::kAtOnce) return false;
  if (pass.onlyStart && key.applies != Applies::kAtNextStart) return false;
  return true;
}

// The key's value without its comment, trimmed; empty when missing. The line
// is read whole, a comment after the value included, before the value's own
// length is looked at.
std::string_view ReadKeyText(const char* iniPath, const SettingKey& key, char (&line)[256]) {
  const size_t length = ReadProfileText(iniPath, key.section, key.name, "", line, sizeof line);
  std::string_view value;
  const size_t limit = key.refusal == Refusal::kNotValid ? 24 : 64;
  if (CleanProfileValue(std::string_view(line, length), length >= sizeof line - 2, limit, value) ==
      ProfileValue::kTooLong) {
    return "(too long)";
  }
  return value;
}

void LogRefused(const SettingKey& key, std::string_view text, const char* kept, bool atStart) {
  const int size = static_cast<int>(text.size());
  switch (key.refusal) {
    case Refusal::kNone:
      return;
    case Refusal::kNotValid:
      if (atStart) {
        WriteLogFormat("[Config] %s %s=%.*s is not valid (%s); the default %s holds", key.section,
                       key.name, size, text.data(), key.valid, kept);
      } else {
        WriteLogFormat("[Config] %s %s=%.*s is not valid (%s); %s stays", key.section, key.name,
                       size, text.data(), key.valid, kept);
      }
      return;
    case Refusal::kButton:
      WriteLogFormat("[Config] Unknown button \"%.*s\" in [Combination] Modifier; %s stays", size,
                     text.data(), kept);
      return;
    case Refusal::kNames:
      WriteLogFormat("[Config] Unknown names \"%.*s\" in [Combination] ButtonNames; %s stays", size,
                     text.data(), kept);
      return;
    case Refusal::kKeyName:
      if (kept[0] == '\0') {
        WriteLogFormat("[Config] Unknown key name \"%.*s\" in [Keys] %s; slot %d has no key", size,
                       text.data(), key.name, key.slot);
      } else {
        WriteLogFormat("[Config] Unknown key name \"%.*s\" in [Keys] %s; slot %d keeps %s", size,
                       text.data(), key.name, key.slot, kept);
      }
      return;
    case Refusal::kSlotNumber:
      WriteLogFormat("[Config] Slots %s=\"%.*s\" is not a number; %s=%s stays", key.name, size,
                     text.data(), key.name, kept);
      return;
  }
}

// A [Slots] value that was taken but is no known combat art id.
void LogSlotNote(const SettingKey& key, std::string_view text, const Settings& settings) {
  const uint32_t artId = settings.slotArtIds[key.slot];
  switch (ClassifySlotValue(text)) {
    case SlotValue::kEmpty:
    case SlotValue::kKnownArt:
      return;
    case SlotValue::kUnknownId:
      WriteLogFormat(
          "[Config] Slots %s=%u is not a known combat art id (5000 to 9900 in steps of 100); "
          "kept and sent to the game as it is",
          key.name, artId);
      return;
    case SlotValue::kNotANumber:
      WriteLogFormat("[Config] Slots %s=\"%.*s\" is not a number; read and saved as %s=%u",
                     key.name, static_cast<int>(text.size()), text.data(), key.name, artId);
      return;
  }
}

void ReadKey(const SettingKey& key, Settings& settings, const ReadPass& pass) {
  if (key.scannerWins) {
    settings.logEnabled = ReadDebugFlag(pass.iniPath);
    return;
  }
  char line[256] = {};
  const std::string_view text = ReadKeyText(pass.iniPath, key, line);
  if (text.empty()) {  // a missing key means its default, at start and at a reload alike
    ApplyKeyDefault(key, settings);
    return;
  }
  KeyText value{text, 0, pass.atStart};
  if (key.numberRead) value.number = ReadProfileUnsigned(pass.iniPath, key.section, key.name, 0);
  char kept[kShownSize];
  ShowKey(key, settings, ShowStyle::kLog, kept, sizeof kept);
  if (!key.parse(value, settings, key.slot)) {
    if (pass.logged) LogRefused(key, text, kept, pass.atStart);
    return;
  }
  if (pass.logged && key.refusal == Refusal::kSlotNumber) LogSlotNote(key, text, settings);
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

void FinishSlotKeys(Settings& settings) {
  DropRepeatedSlotKeys(settings);
  if (!AnySlotKeyBound(settings.slotKeys)) return;
  auto shown = [&settings](int slot) {
    return settings.slotKeys[slot].virtualKey != 0 ? settings.slotKeys[slot].name : "-";
  };
  WriteLogFormat("[Config] Keys: Y=%s A=%s B=%s X=%s", shown(0), shown(1), shown(2), shown(3));
}

void FinishCombination(const Settings& settings, bool logAlways) {
  const Settings defaults;
  if (!logAlways && settings.combinationEnabled == defaults.combinationEnabled &&
      settings.heldButton == defaults.heldButton && settings.buttonNames == defaults.buttonNames) {
    return;
  }
  WriteLogFormat("[Config] Combination=%s Modifier=%s ButtonNames=%s",
                 settings.combinationEnabled ? "ON" : "OFF",
                 kHeldButtons[static_cast<int>(settings.heldButton)].configName,
                 settings.buttonNames == ButtonNames::kPlayStation ? "PlayStation" : "Xbox");
}

// What a logged pass says when a section is read whole.
void FinishSection(const char* section, Settings& settings, const ReadPass& pass) {
  if (!pass.logged) return;
  if (std::strcmp(section, "Keys") == 0) FinishSlotKeys(settings);
  if (std::strcmp(section, "Combination") == 0) FinishCombination(settings, !pass.atStart);
}

void ReadKeys(Settings& settings, const ReadPass& pass, ReadStep step) {
  for (size_t i = 0; i < kSettingKeyCount; ++i) {
    const SettingKey& key = kSettingKeys[i];
    if (key.step != step || !Selected(key, pass)) continue;
    ReadKey(key, settings, pass);
    const bool sectionEnds =
        i + 1 == kSettingKeyCount || std::strcmp(kSettingKeys[i + 1].section, key.section) != 0;
    if (sectionEnds) FinishSection(key.section, settings, pass);
  }
}

// Every key as the file holds it now, silently: what a write of ours is
// checked against.
Settings ReadFileValues(const char* iniPath) {
  Settings values;
  const ReadPass pass{iniPath, true, false, false, false};
  ReadKeys(values, pass, ReadStep::kBeforeSummary);
  ReadKeys(values, pass, ReadStep::kAfterSummary);
  return values;
}

bool SameFileValues(const Settings& a, const Settings& b) {
  for (size_t i = 0; i < kSettingKeyCount; ++i) {
    const SettingKey& key = kSettingKeys[i];
    if (key.parse != nullptr && !SameKeyValue(key, a, b)) return false;
  }
  return true;
}

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
  settings = next;
  apply(settings);
  LogLoaded(settings, iniPath, "Reloaded");
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
