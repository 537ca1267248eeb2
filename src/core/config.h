#pragma once
// The configuration file "artwheel.ini" beside the library.
#include <windows.h>

#include <cstddef>

#include "core/ini_scan.h"

namespace artwheel {

inline constexpr char kIniFileName[] = "artwheel.ini";
inline constexpr size_t kPathSize = 260;
inline constexpr size_t kChainPathSize = 1024;
// A chain path's line with its comment: read whole before the comment is removed.
inline constexpr size_t kChainLineSize = 8192;

// Remembers the library's module for ConfigIniPath; the worker's first action.
void SetLibraryModule(HMODULE module);

// Full path of artwheel.ini beside the library, fixed at the first call. The
// bare file name when the module is unknown or its path cannot be read; an
// empty text when the path would not fit its 260 bytes.
const char* ConfigIniPath();

// Folder of the module's file with its trailing backslash; false (and an empty
// text) when the path cannot be read, has no backslash or does not fit.
bool ModuleDirectory(HMODULE module, char* out, size_t size);

// Folder of the module joined with "artwheel.ini"; the bare name when the
// folder is unknown. False when the joined path would not fit.
bool IniPathBesideModule(HMODULE module, char* out, size_t size);

IniScanResult FindIniKeyAnywhere(const char* iniPath, const char* key, char* out, size_t size);

// Sets logEnabled from [General] IsDebug; the line scanner's value wins.
void LoadDebugSetting(HMODULE module);

// Reads every setting, writes the normalised slot and enable keys back, logs a summary.
void LoadConfig();

// The chainload path: [Chainload] chainDInput8dllPath, else the key anywhere in
// the file. Empty when neither is set.
void ReadChainPath(const char* iniPath, char* out, size_t size);

}  // namespace artwheel
