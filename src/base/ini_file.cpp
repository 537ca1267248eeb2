#include "base/ini_file.h"

#include <cstdio>

#include "base/text_format.h"

namespace artwheel {

uint32_t ReadProfileUnsigned(const char* path, const char* section, const char* key,
                             uint32_t fallback) {
  return GetPrivateProfileIntA(section, key, static_cast<INT>(fallback), path);
}

size_t ReadProfileText(const char* path, const char* section, const char* key, const char* fallback,
                       char* out, size_t size) {
  return GetPrivateProfileStringA(section, key, fallback, out, static_cast<DWORD>(size), path);
}

bool WriteProfileText(const char* path, const char* section, const char* key, const char* text) {
  return WritePrivateProfileStringA(section, key, text, path) != FALSE;
}

bool WriteProfileUnsigned(const char* path, const char* section, const char* key, uint32_t value) {
  char text[32];
  return FormatText(text, sizeof text, "%u", value) > 0 &&
         WriteProfileText(path, section, key, text);
}

IniScanResult FindIniKeyAnywhere(const char* path, const char* key, char* out, size_t size) {
  if (out != nullptr && size > 0) out[0] = '\0';
  if (path == nullptr || path[0] == '\0') return IniScanResult::kNotFound;
  std::FILE* stream = std::fopen(path, "rb");
  if (stream == nullptr) return IniScanResult::kNotFound;
  const IniScanResult result = FindIniKeyInStream(stream, key, out, size);
  static_cast<void>(std::fclose(stream));  // a read-only stream: nothing is lost on close
  return result;
}

bool CanOpenFile(const char* path) {
  const HANDLE file =
      CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool ReadFileStamp(const char* path, FileStamp* stamp) {
  WIN32_FILE_ATTRIBUTE_DATA attributes = {};
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &attributes)) return false;
  stamp->lastWrite = attributes.ftLastWriteTime;
  stamp->sizeLow = attributes.nFileSizeLow;
  stamp->sizeHigh = attributes.nFileSizeHigh;
  return true;
}

bool SameFileStamp(const FileStamp& a, const FileStamp& b) {
  return CompareFileTime(&a.lastWrite, &b.lastWrite) == 0 && a.sizeLow == b.sizeLow &&
         a.sizeHigh == b.sizeHigh;
}

}  // namespace artwheel
