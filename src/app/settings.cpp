#include "app/settings.h"

#include <cstring>

#include "app/slot_value.h"
#include "base/ini_file.h"
#include "base/ini_text.h"
#include "base/log.h"
#include "base/text_format.h"
#include "base/wide_path.h"

namespace artwheel {
namespace {

enum class Folder { kUnknown, kFound, kTooLong };

enum class ChainValue { kEmpty, kFound, kTooLong, kHasNul };

enum class StarterCopy { kNotNeeded, kMade, kFailed };

// Where artwheel.ini is: written once at attach, on the loading thread, before
// any thread of ours exists or the export can be called; read-only afterwards.
struct SettingsFileRecord {
  bool located = false;
  Folder folderState = Folder::kUnknown;
  char folder[kPathSize] = {};
  bool iniPathFits = false;
  char iniPath[kPathSize] = {};
  // The chain path as the file held it at attach, before the worker writes
  // its normalised keys back (a rewrite that another thread's read could meet
  // half done, and that does not keep every byte of a line it cannot parse).
  ChainValue chainRead = ChainValue::kEmpty;
  char chainValue[kChainPathSize] = {};
  // artwheel.ini made from the starter at attach: logged by the worker's load.
  StarterCopy starter = StarterCopy::kNotNeeded;
  unsigned long starterError = 0;
};

SettingsFileRecord settingsFile;
bool iniPathTooLongLogged = false;  // worker thread

// The file's path for readers that log nothing; empty when it does not fit.
const char* IniPath() {
  if (!settingsFile.located) return kIniFileName;
  return settingsFile.iniPathFits ? settingsFile.iniPath : "";
}

Folder ModuleFolder(HMODULE module, char* out, size_t size) {
  out[0] = '\0';
  char path[kPathSize] = {};
  const size_t length = ModuleFileNameUtf8(module, path, sizeof path);
  if (length == 0) return Folder::kUnknown;
  if (length >= sizeof path) return Folder::kTooLong;  // cut short by the call
  char* lastSeparator = std::strrchr(path, '\\');
  if (lastSeparator == nullptr) return Folder::kUnknown;
  lastSeparator[1] = '\0';
  return FormatText(out, size, "%s", path) >= 0 ? Folder::kFound : Folder::kTooLong;
}

bool ReadDebugFlag(const char* iniPath) {
  char value[32] = {};
  ReadProfileText(iniPath, "General", "IsDebug", "false", value, sizeof value);
  bool enabled = ParseBool(value);
  char scanned[32];
  if (FindIniKeyAnywhere(iniPath, "IsDebug", scanned, sizeof scanned) != IniScanResult::kNotFound) {
    enabled = ParseBool(scanned);  // a rejected value reads as empty, which is false
  }
  return enabled;
}

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

// [Keys]: the slots' keyboard keys. An unknown name is logged and leaves its
// slot without a key. The section is only read, never written.
void LoadSlotKey(Settings& settings, int slot, const char* iniPath) {
  const char* key = SlotInfo[slot].shortLabel;
  // One byte more than a name may take, so that a longer text is seen as such
  // instead of being cut into something that parses.
  char value[kMaxKeyNameText + 2] = {};
  const size_t length = ReadProfileText(iniPath, "Keys", key, "", value, sizeof value);
  const std::string_view text = StripInlineComment(std::string_view(value, length));
  if (text.empty()) return;
  if (length < sizeof value - 1 && ParseKeyName(text, &settings.slotKeys[slot])) return;
  WriteLogFormat("[Config] Unknown key name \"%.*s\" in [Keys] %s; slot %d has no key",
                 static_cast<int>(text.size()), text.data(), key, slot);
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
  for (int slot = 0; slot < kSlotCount; ++slot) {
    settings.slotKeys[slot] = KeyBinding{};
    LoadSlotKey(settings, slot, iniPath);
  }
  DropRepeatedSlotKeys(settings);
  if (!AnySlotKeyBound(settings.slotKeys)) return;
  auto shown = [&settings](int slot) {
    return settings.slotKeys[slot].virtualKey != 0 ? settings.slotKeys[slot].name : "-";
  };
  WriteLogFormat("[Config] Keys: Y=%s A=%s B=%s X=%s", shown(0), shown(1), shown(2), shown(3));
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

void LogStarterCopy(const SettingsFileRecord& file) {
  if (file.starter == StarterCopy::kMade) {
    WriteLogFormat("[Config] Made %s from %s", file.iniPath, kStarterFileName);
  } else if (file.starter == StarterCopy::kFailed) {
    WriteLogFormat("[Config] Could not make %s from %s (error %lu)", file.iniPath, kStarterFileName,
                   file.starterError);
  }
}

// A missing artwheel.ini is made from the starter file beside it; nothing else
// has read the file yet.
void MakeFromStarterIfMissing(SettingsFileRecord& file) {
  char starterPath[kPathSize];
  if (FormatText(starterPath, sizeof starterPath, "%s%s", file.folder, kStarterFileName) < 0) {
    return;
  }
  if (!ShouldMakeFromStarter(QueryFilePresence(file.iniPath), QueryFilePresence(starterPath))) {
    return;
  }
  if (CopyToNewFile(starterPath, file.iniPath)) {
    file.starter = StarterCopy::kMade;
  } else {
    file.starter = StarterCopy::kFailed;
    file.starterError = GetLastError();
  }
}

void LogLoaded(const Settings& settings, const char* iniPath) {
  WriteLogFormat(
      "[Config] Loaded from %s; slots: Y=%u A=%u B=%u X=%u Overlay=%s SkillPanel=%s UIScan=%s "
      "Detail=%s HudProbe=%s GlobalFields=%s DumpGlobalPointers=%s DumpGlobalPointerLimit=%u",
      iniPath, settings.slotArtIds[0], settings.slotArtIds[1], settings.slotArtIds[2],
      settings.slotArtIds[3], OnOff(settings.overlayEnabled), OnOff(settings.skillPanelEnabled),
      OnOff(settings.uiScanEnabled), OnOff(settings.uiScanDetail), OnOff(settings.hudProbeEnabled),
      OnOff(settings.hudProbeGlobalFields), OnOff(settings.hudProbeDumpGlobalPointers),
      settings.dumpGlobalPointerLimit);
  if (settings.skillPanelAnyResolution) {
    WriteLogLine("[Config] SkillPanel AnyResolution=ON: the panel is fitted to other screen sizes");
  }
  if (settings.skillPanelLayout.showSlots) {
    WriteLogLine("[Config] SkillPanel ShowSlots=ON: the four slots show while D-pad Down is held");
  }
}

// [Chainload] chainDInput8dllPath, else the key anywhere in the file; an
// empty text unless kFound. Logs nothing.
ChainValue ReadChainValue(const char* iniPath, char* out, size_t size) {
  out[0] = '\0';
  // The limit is the value's, not the line's: a short path may carry a long
  // comment, so the line is read into a larger buffer and the comment removed
  // before the length is checked.
  char raw[kChainLineSize] = {};
  const size_t length =
      ReadProfileText(iniPath, "Chainload", "chainDInput8dllPath", "", raw, sizeof raw);
  std::string_view value;
  const ProfileValue read = CleanProfileValue(std::string_view(raw, length),
                                              length >= sizeof raw - 2, kChainPathSize - 2, value);
  if (read == ProfileValue::kTooLong) return ChainValue::kTooLong;
  if (read == ProfileValue::kFound) {
    if (value.size() >= size) return ChainValue::kEmpty;
    std::memcpy(out, value.data(), value.size());
    out[value.size()] = '\0';
    return ChainValue::kFound;
  }
  switch (FindIniKeyAnywhere(iniPath, "chainDInput8dllPath", out, size)) {
    case IniScanResult::kRejected:
      return ChainValue::kTooLong;
    case IniScanResult::kHasNul:
      return ChainValue::kHasNul;
    default:
      return out[0] != '\0' ? ChainValue::kFound : ChainValue::kEmpty;
  }
}

void LogChainValue(ChainValue read) {
  if (read == ChainValue::kTooLong) {
    WriteLogLine("[Chainload] chainDInput8dllPath is longer than 1022 bytes; ignored");
  } else if (read == ChainValue::kHasNul) {
    WriteLogLine("[Chainload] chainDInput8dllPath holds a NUL byte; ignored");
  }
}

// The render thread's view of [SkillPanel] Enable, with the stamp it was read at.
struct PanelSwitchCache {
  FileStamp stamp;
  bool known = false;
  bool enabled = false;
};

PanelSwitchCache panelSwitch;  // render thread only

}  // namespace

void LocateSettingsFile(HMODULE library) {
  SettingsFileRecord& file = settingsFile;
  file.folderState = ModuleFolder(library, file.folder, sizeof file.folder);
  // An unknown folder leaves the bare name to the profile functions; a folder
  // too long to hold is refused, since the bare name would be another file.
  file.iniPathFits =
      file.folderState != Folder::kTooLong &&
      FormatText(file.iniPath, sizeof file.iniPath, "%s%s", file.folder, kIniFileName) >= 0;
  if (!file.iniPathFits) file.iniPath[0] = '\0';
  if (file.folderState == Folder::kFound && file.iniPathFits) {
    MakeFromStarterIfMissing(file);
    file.chainRead = ReadChainValue(file.iniPath, file.chainValue, sizeof file.chainValue);
  }
  file.located = true;
}

const char* ConfigIniPath() {
  const char* path = IniPath();
  if (path[0] == '\0' && !iniPathTooLongLogged) {
    iniPathTooLongLogged = true;
    WriteLogLine("[Config] Path of artwheel.ini does not fit 260 bytes; using defaults");
  }
  return path;
}

bool ModuleDirectory(HMODULE module, char* out, size_t size) {
  if (out == nullptr || size == 0) return false;
  return ModuleFolder(module, out, size) == Folder::kFound;
}

void LoadDebugSetting() {
  if (!settingsFile.iniPathFits) return;
  SetLogEnabled(ReadDebugFlag(settingsFile.iniPath));
}

void LoadConfig(Settings& settings) {
  const char* iniPath = ConfigIniPath();

  settings.logEnabled = ReadDebugFlag(iniPath);
  SetLogEnabled(settings.logEnabled);
  LogStarterCopy(settingsFile);

  for (int slot = 0; slot < kSlotCount; ++slot) {
    settings.slotArtIds[slot] = ReadProfileUnsigned(iniPath, "Slots", SlotInfo[slot].shortLabel, 0);
  }
  settings.overlayEnabled = ReadIntFlag("Overlay", "Enable", iniPath);
  settings.skillPanelEnabled = ReadIntFlag("SkillPanel", "Enable", iniPath);
  settings.skillPanelAnyResolution = ReadIntFlag("SkillPanel", "AnyResolution", iniPath);
  settings.skillPanelLayout = LoadPanelLayout(iniPath);
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

  if (iniPath[0] != '\0') {
    for (int slot = 0; slot < kSlotCount; ++slot) {
      LogRefusedSlotValue(slot, settings.slotArtIds[slot], iniPath);
    }
    WriteNormalisedKeys(settings, iniPath);
  }
  LogLoaded(settings, iniPath);
  LoadSlotKeys(settings, iniPath);
}

bool SaveSlotArt(int slot, uint32_t artId, unsigned long* error) {
  const char* iniPath = ConfigIniPath();
  const bool saved = iniPath[0] != '\0' &&
                     WriteProfileUnsigned(iniPath, "Slots", SlotInfo[slot].shortLabel, artId);
  if (error != nullptr && saved) *error = 0;
  if (error != nullptr && !saved) {
    *error = iniPath[0] == '\0' ? ERROR_FILENAME_EXCED_RANGE : GetLastError();
  }
  return saved;
}

bool ReadChainSetting(char (&folder)[kPathSize], char (&iniPath)[kPathSize], char* value,
                      size_t size) {
  const SettingsFileRecord& file = settingsFile;
  if (file.folderState != Folder::kFound || !file.iniPathFits) {
    WriteLogLine("[Chainload] Could not resolve module directory");
    return false;
  }
  std::memcpy(folder, file.folder, sizeof folder);
  std::memcpy(iniPath, file.iniPath, sizeof iniPath);
  LogChainValue(file.chainRead);
  value[0] = '\0';
  if (file.chainRead == ChainValue::kFound) FormatText(value, size, "%s", file.chainValue);
  return true;
}

void ReadChainPath(const char* iniPath, char* out, size_t size) {
  if (out == nullptr || size == 0) return;
  LogChainValue(ReadChainValue(iniPath, out, size));
}

bool SkillPanelEnabledInFile() {
  const char* iniPath = IniPath();
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
