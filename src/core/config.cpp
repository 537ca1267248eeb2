#include "core/config.h"

#include <cstdio>
#include <cstring>

#include "core/ini_text.h"
#include "core/log.h"
#include "core/settings.h"
#include "core/text_format.h"
#include "input/keyboard.h"
#include "overlay/overlay_state.h"
#include "slots/game_layout.h"

namespace artwheel {

Settings settings;

namespace {

HMODULE libraryModule = nullptr;
char configIniPath[kPathSize];
bool configIniPathComputed = false;

bool ReadDebugFlag(const char* iniPath) {
  char value[32] = {};
  GetPrivateProfileStringA("General", "IsDebug", "false", value, sizeof value, iniPath);
  bool enabled = ParseBool(value);
  char scanned[32];
  if (FindIniKeyAnywhere(iniPath, "IsDebug", scanned, sizeof scanned) != IniScanResult::kNotFound) {
    enabled = ParseBool(scanned);  // a rejected value reads as empty, which is false
  }
  return enabled;
}

bool ReadIntFlag(const char* section, const char* key, const char* iniPath) {
  return GetPrivateProfileIntA(section, key, 0, iniPath) != 0;
}

void WriteUnsigned(const char* section, const char* key, uint32_t value, const char* iniPath) {
  char text[32];
  if (FormatText(text, sizeof text, "%u", value) > 0) {
    WritePrivateProfileStringA(section, key, text, iniPath);
  }
}

const char* OnOff(bool value) { return value ? "ON" : "OFF"; }

enum class Folder { kFound, kUnknown, kTooLong };

Folder ModuleFolder(HMODULE module, char* out, size_t size) {
  out[0] = '\0';
  char path[kPathSize] = {};
  const DWORD length = GetModuleFileNameA(module, path, sizeof path);
  if (length == 0) return Folder::kUnknown;
  if (length >= sizeof path) return Folder::kTooLong;  // cut short by the call
  char* lastSeparator = std::strrchr(path, '\\');
  if (lastSeparator == nullptr) return Folder::kUnknown;
  lastSeparator[1] = '\0';
  return FormatText(out, size, "%s", path) >= 0 ? Folder::kFound : Folder::kTooLong;
}

}  // namespace

void SetLibraryModule(HMODULE module) { libraryModule = module; }

bool ModuleDirectory(HMODULE module, char* out, size_t size) {
  if (out == nullptr || size == 0) return false;
  return ModuleFolder(module, out, size) == Folder::kFound;
}

bool IniPathBesideModule(HMODULE module, char* out, size_t size) {
  char folder[kPathSize];
  // An unknown folder leaves the bare name to the profile functions; a folder
  // too long to hold is refused, since the bare name would be another file.
  if (ModuleFolder(module, folder, sizeof folder) == Folder::kTooLong) {
    if (out != nullptr && size > 0) out[0] = '\0';
    return false;
  }
  return FormatText(out, size, "%s%s", folder, kIniFileName) >= 0;
}

const char* ConfigIniPath() {
  if (!configIniPathComputed) {
    configIniPathComputed = true;
    if (libraryModule == nullptr) {
      FormatText(configIniPath, sizeof configIniPath, "%s", kIniFileName);
    } else if (!IniPathBesideModule(libraryModule, configIniPath, sizeof configIniPath)) {
      configIniPath[0] = '\0';
      WriteLogLine("[Config] Path of artwheel.ini does not fit 260 bytes; using defaults");
    }
  }
  return configIniPath;
}

IniScanResult FindIniKeyAnywhere(const char* iniPath, const char* key, char* out, size_t size) {
  if (out != nullptr && size > 0) out[0] = '\0';
  if (iniPath == nullptr || iniPath[0] == '\0') return IniScanResult::kNotFound;
  std::FILE* stream = std::fopen(iniPath, "rb");
  if (stream == nullptr) return IniScanResult::kNotFound;
  const IniScanResult result = FindIniKeyInStream(stream, key, out, size);
  static_cast<void>(std::fclose(stream));  // a read-only stream: nothing is lost on close
  return result;
}

void LoadDebugSetting(HMODULE module) {
  char iniPath[kPathSize];
  if (!IniPathBesideModule(module, iniPath, sizeof iniPath)) return;
  settings.logEnabled.store(ReadDebugFlag(iniPath), std::memory_order_relaxed);
}

void LoadConfig() {
  const char* iniPath = ConfigIniPath();
  SetOverlayIniPath(iniPath);

  settings.logEnabled.store(ReadDebugFlag(iniPath), std::memory_order_relaxed);

  for (int slot = 0; slot < kSlotCount; ++slot) {
    settings.slotArtIds[slot] =
        GetPrivateProfileIntA("Slots", SlotInfo[slot].shortLabel, 0, iniPath);
  }
  settings.overlayEnabled = ReadIntFlag("Overlay", "Enable", iniPath);
  settings.skillPanelEnabled = ReadIntFlag("SkillPanel", "Enable", iniPath);
  settings.skillPanelAnyResolution = ReadIntFlag("SkillPanel", "AnyResolution", iniPath);
  SetPanelAnyResolution(settings.skillPanelAnyResolution);
  settings.uiScanEnabled = ReadIntFlag("UIScan", "Enable", iniPath);
  settings.uiScanDetail = ReadIntFlag("UIScan", "Detail", iniPath);
  settings.hudProbeEnabled = ReadIntFlag("HudProbe", "Enable", iniPath);
  settings.hudProbeGlobalFields = ReadIntFlag("HudProbe", "GlobalFields", iniPath);
  settings.hudProbeDumpGlobalPointers = ReadIntFlag("HudProbe", "DumpGlobalPointers", iniPath);
  const UINT limit = GetPrivateProfileIntA("HudProbe", "DumpGlobalPointerLimit",
                                           kDefaultDumpGlobalPointerLimit, iniPath);
  settings.dumpGlobalPointerLimit = limit == 0 ? 1 : limit;
  const UINT interval =
      GetPrivateProfileIntA("UIScan", "IntervalMs", kDefaultUiScanIntervalMs, iniPath);
  settings.uiScanIntervalMs = interval < kMinUiScanIntervalMs ? kMinUiScanIntervalMs : interval;

  if (iniPath[0] != '\0') {
    for (int slot = 0; slot < kSlotCount; ++slot) {
      WriteUnsigned("Slots", SlotInfo[slot].shortLabel, settings.slotArtIds[slot], iniPath);
    }
    WriteUnsigned("Overlay", "Enable", settings.overlayEnabled ? 1 : 0, iniPath);
    WriteUnsigned("SkillPanel", "Enable", settings.skillPanelEnabled ? 1 : 0, iniPath);
  }

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
  LoadSlotKeys(iniPath);
}

void ReadChainPath(const char* iniPath, char* out, size_t size) {
  if (out == nullptr || size == 0) return;
  out[0] = '\0';
  // The limit is the value's, not the line's: a short path may carry a long
  // comment, so the line is read into a larger buffer and the comment removed
  // before the length is checked.
  char raw[kChainLineSize] = {};
  const DWORD length =
      GetPrivateProfileStringA("Chainload", "chainDInput8dllPath", "", raw, sizeof raw, iniPath);
  std::string_view value;
  const ProfileValue read = CleanProfileValue(std::string_view(raw, length),
                                              length >= sizeof raw - 2, kChainPathSize - 2, value);
  if (read == ProfileValue::kTooLong) {
    WriteLogLine("[Chainload] chainDInput8dllPath is longer than 1022 bytes; ignored");
    return;
  }
  if (read == ProfileValue::kFound) {
    if (value.size() < size) {
      std::memcpy(out, value.data(), value.size());
      out[value.size()] = '\0';
    }
    return;
  }
  switch (FindIniKeyAnywhere(iniPath, "chainDInput8dllPath", out, size)) {
    case IniScanResult::kRejected:
      WriteLogLine("[Chainload] chainDInput8dllPath is longer than 1022 bytes; ignored");
      break;
    case IniScanResult::kHasNul:
      WriteLogLine("[Chainload] chainDInput8dllPath holds a NUL byte; ignored");
      break;
    default:
      break;
  }
}

}  // namespace artwheel
