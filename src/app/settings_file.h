#pragma once
// Where artwheel.ini is: the library's folder, the file's path, the starter
// copy made when the file is missing, the debug switch read before the first
// line, and the chain path as the file held it at attach. Worked out once at
// attach; read-only afterwards.
#include <windows.h>

#include <cstddef>

#include "base/utf8_text.h"

namespace artwheel {

inline constexpr char kIniFileName[] = "artwheel.ini";
// The release's own configuration: artwheel.ini is made from it when missing,
// and a new release unpacked over an old one never replaces the player's file.
inline constexpr char kStarterFileName[] = "artwheel.starter.ini";
inline constexpr size_t kChainPathSize = 1024;
// A chain path's line with its comment: read whole before the comment is removed.
inline constexpr size_t kChainLineSize = 8192;

// Works out, once at attach, the library's folder and the path of
// artwheel.ini in it; every later reader uses this one answer. A missing
// artwheel.ini is made from the starter file beside it first.
void LocateSettingsFile(HMODULE library);

// Full path of artwheel.ini beside the library, in UTF-8. The bare file name
// when the library's folder is unknown; an empty text (logged once) when the
// path is longer than the system's paths may be.
const char* ConfigIniPath();

// The same path for readers that log nothing; empty when it is too long.
const char* SettingsFilePath();

// The library's folder with its trailing backslash; empty when unknown.
const char* LibraryFolder();

// Folder of the module's file with its trailing backslash; false (and an empty
// text) when the path cannot be read, has no backslash or does not fit `out`.
bool ModuleDirectory(HMODULE module, char* out, size_t size);

// [General] IsDebug as the file holds it; the line scanner's value wins.
bool ReadDebugFlag(const char* iniPath);

// Switches logging on or off from [General] IsDebug before the first line.
void LoadDebugSetting();

// The starter copy made at attach, said once logging is decided.
void LogStarterCopy();

// The chained provider's file as artwheel.ini names it: [Chainload]
// chainDInput8dllPath, else the key anywhere in the file, as the line scanner
// reads the file's bytes (UTF-8 when they are all well-formed UTF-8, with or
// without the mark, else the ANSI code page); the profile functions only when
// the scanner finds no value (a UTF-16 file). Empty when none is set. The
// library's folder and the file's path come with it; false (logged) when the
// folder is unknown.
bool ReadChainSetting(char (&folder)[kUtf8PathSize], char (&iniPath)[kUtf8PathSize], char* value,
                      size_t size);

// The chain path of the given file (the rules of ReadChainSetting).
void ReadChainPath(const char* iniPath, char* out, size_t size);

// Whether the file names the same chain path as it did at attach.
bool SameChainPathAsAtStart(const char* iniPath);

}  // namespace artwheel
