#include "app/settings_read.h"

#include <cstring>
#include <string_view>

#include "app/settings_file.h"
#include "app/slot_value.h"
#include "base/ini_file.h"
#include "base/ini_text.h"
#include "base/log.h"

namespace artwheel {
namespace {

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

}  // namespace

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

}  // namespace artwheel
