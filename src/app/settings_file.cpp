#include "app/settings_file.h"

#include <cstring>
#include <string_view>

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

void LogStarterCopyOf(const SettingsFileRecord& file) {
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

}  // namespace

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

const char* SettingsFilePath() { return IniPath(); }

const char* LibraryFolder() {
  return settingsFile.folderState == Folder::kFound ? settingsFile.folder : "";
}

void LogStarterCopy() { LogStarterCopyOf(settingsFile); }

bool SameChainPathAsAtStart(const char* iniPath) {
  char value[kChainPathSize] = {};
  const ChainValue read = ReadChainValue(iniPath, value, sizeof value);
  return read == settingsFile.chainRead && std::strcmp(value, settingsFile.chainValue) == 0;
}

}  // namespace artwheel
