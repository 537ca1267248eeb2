#pragma once
// An INI file on disk: the Windows profile functions, the library's own line
// scanner over the whole file, and the file's stamp. Knows no section or key
// of its own; every path is a full path or a bare file name, in UTF-8, and
// every text read is UTF-8.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "base/ini_scan.h"
#include "base/ini_text.h"

namespace artwheel {

// GetPrivateProfileInt: the number at the key, `fallback` when it is missing.
uint32_t ReadProfileUnsigned(const char* path, const char* section, const char* key,
                             uint32_t fallback);

// GetPrivateProfileString into `out`; the length it returned.
size_t ReadProfileText(const char* path, const char* section, const char* key, const char* fallback,
                       char* out, size_t size);

// WritePrivateProfileString; false, with GetLastError set, when the file was
// not written.
bool WriteProfileText(const char* path, const char* section, const char* key, const char* text);
bool WriteProfileUnsigned(const char* path, const char* section, const char* key, uint32_t value);

// The key's value in `section` (empty: in any section, or before the first),
// read by the line scanner from the file's bytes; kNotFound when the path is
// empty or the file cannot be opened. The value is UTF-8: a file whose bytes
// are all well-formed UTF-8 (with or without the UTF-8 mark) is taken as
// UTF-8, any other as text in the system's ANSI code page. A UTF-16 file is
// not read.
IniScanResult FindIniKey(const char* path, const char* section, const char* key, char* out,
                         size_t size);
inline IniScanResult FindIniKeyAnywhere(const char* path, const char* key, char* out, size_t size) {
  return FindIniKey(path, "", key, out, size);
}

// A plain file at the path, none, or cannot tell (a folder in its place counts
// as present).
FilePresence QueryFilePresence(const char* path);

// Copies `from` to `to` unless `to` exists; the copy is writable whatever the
// original's attributes. False with GetLastError set when nothing was made.
bool CopyToNewFile(const char* from, const char* to);

// Size and last write time: enough to tell that a file changed.
struct FileStamp {
  FILETIME lastWrite = {};
  DWORD sizeLow = 0;
  DWORD sizeHigh = 0;
};

// False when the file cannot be opened for reading now (missing, or held by
// another program that shares it with no reader).
bool CanOpenFile(const char* path);

// False when the file's attributes cannot be read.
bool ReadFileStamp(const char* path, FileStamp* stamp);
bool SameFileStamp(const FileStamp& a, const FileStamp& b);

}  // namespace artwheel
