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

enum class StarterCopy { kNotNeeded, kMade, kFailed, kPathTooLong };

constexpr char kChainSection[] = "Chainload";
constexpr char kChainKey[] = "chainDInput8dllPath";

// Where artwheel.ini is: written once at attach, on the loading thread, before
// any thread of ours exists or the export can be called; read-only afterwards.
struct SettingsFileRecord {
  bool located = false;
  Folder folderState = Folder::kUnknown;
  char folder[kUtf8PathSize] = {};
  bool iniPathFits = false;
  char iniPath[kUtf8PathSize] = {};
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
  char path[kUtf8PathSize] = {};
  const size_t length = ModuleFileNameUtf8(module, path, sizeof path);
  if (length == 0) return Folder::kUnknown;
  if (length >= sizeof path) return Folder::kTooLong;  // cut short by the call
  char* lastSeparator = std::strrchr(path, '\\');
  if (lastSeparator == nullptr) return Folder::kUnknown;
  lastSeparator[1] = '\0';
  return FormatText(out, size, "%s", path) >= 0 ? Folder::kFound : Folder::kTooLong;
}

// The folder, a file name and the terminator in `out`, when the system takes
// such a path; otherwise false and an empty text.
bool ComposeSystemPath(const char* folder, const char* fileName, char (&out)[kUtf8PathSize]) {
  if (FormatText(out, sizeof out, "%s%s", folder, fileName) >= 0 && FitsSystemPath(out)) {
    return true;
  }
  out[0] = '\0';
  return false;
}

void LogStarterCopyOf(const SettingsFileRecord& file) {
  if (file.starter == StarterCopy::kMade) {
    WriteLogFormat("[Config] Made %s from %s", file.iniPath, kStarterFileName);
  } else if (file.starter == StarterCopy::kFailed) {
    WriteLogFormat("[Config] Could not make %s from %s (error %lu)", file.iniPath, kStarterFileName,
                   file.starterError);
  } else if (file.starter == StarterCopy::kPathTooLong) {
    WriteLogFormat(
        "[Config] Could not make %s from %s: its path in %s is longer than the %u characters "
        "Windows allows",
        file.iniPath, kStarterFileName, file.folder, static_cast<unsigned>(kPathUnits - 1));
  }
}

// A missing artwheel.ini is made from the starter file beside it; nothing else
// has read the file yet.
void MakeFromStarterIfMissing(SettingsFileRecord& file) {
  char starterPath[kUtf8PathSize];
  if (!ComposeSystemPath(file.folder, kStarterFileName, starterPath)) {
    if (QueryFilePresence(file.iniPath) == FilePresence::kMissing) {
      file.starter = StarterCopy::kPathTooLong;
    }
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

ChainValue FromScan(IniScanResult result, const char* value) {
  switch (result) {
    case IniScanResult::kRejected:
      return ChainValue::kTooLong;
    case IniScanResult::kHasNul:
      return ChainValue::kHasNul;
    default:
      return value[0] != '\0' ? ChainValue::kFound : ChainValue::kEmpty;
  }
}

// [Chainload] through the profile functions, for a file the scanner cannot
// read (UTF-16). The limit is the value's, not the line's: a short path may
// carry a long comment, so the line is read into a larger buffer and the
// comment removed before the length is checked.
ChainValue ReadChainValueFromProfile(const char* iniPath, char* out, size_t size) {
  char raw[kChainLineSize] = {};
  const size_t length = ReadProfileText(iniPath, kChainSection, kChainKey, "", raw, sizeof raw);
  std::string_view value;
  const ProfileValue read = CleanProfileValue(std::string_view(raw, length),
                                              length >= sizeof raw - 2, kChainPathSize - 2, value);
  if (read == ProfileValue::kTooLong) return ChainValue::kTooLong;
  if (read != ProfileValue::kFound || value.size() >= size) return ChainValue::kEmpty;
  std::memcpy(out, value.data(), value.size());
  out[value.size()] = '\0';
  return ChainValue::kFound;
}

// [Chainload] chainDInput8dllPath, else the key anywhere in the file, from the
// file's bytes; the profile functions where neither gives a value. An empty
// text unless kFound. Logs nothing.
ChainValue ReadChainValue(const char* iniPath, char* out, size_t size) {
  out[0] = '\0';
  // At most kChainPathSize - 2 bytes, as the profile functions' limit below.
  const size_t room = size < kChainPathSize - 1 ? size : kChainPathSize - 1;
  ChainValue read = FromScan(FindIniKey(iniPath, kChainSection, kChainKey, out, room), out);
  if (read == ChainValue::kEmpty) {
    read = FromScan(FindIniKey(iniPath, "", kChainKey, out, room), out);
  }
  if (read == ChainValue::kEmpty) read = ReadChainValueFromProfile(iniPath, out, size);
  if (read != ChainValue::kFound) out[0] = '\0';
  return read;
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
  file.iniPathFits = file.folderState != Folder::kTooLong &&
                     ComposeSystemPath(file.folder, kIniFileName, file.iniPath);
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
    WriteLogFormat(
        "[Config] Path of artwheel.ini in %s is longer than the %u characters Windows allows; "
        "using defaults",
        settingsFile.folder[0] != '\0' ? settingsFile.folder : "the library's folder",
        static_cast<unsigned>(kPathUnits - 1));
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

bool ReadChainSetting(char (&folder)[kUtf8PathSize], char (&iniPath)[kUtf8PathSize], char* value,
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
