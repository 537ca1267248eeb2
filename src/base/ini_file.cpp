#include "base/ini_file.h"

#include <cstdio>
#include <cstring>

#include "base/text_format.h"
#include "base/wide_path.h"

namespace artwheel {
namespace {

// Section and key names are short ASCII words.
constexpr size_t kNameCount = 64;
// The longest text read at once: a chain path's line with its comment.
constexpr size_t kProfileTextCount = 8192;
constexpr size_t kWrittenTextCount = 1024;

// The names and the path of one profile call, as the wide functions take them.
struct WideProfileNames {
  wchar_t path[kWidePathCount] = {};
  wchar_t section[kNameCount] = {};
  wchar_t key[kNameCount] = {};

  bool Convert(const char* utf8Path, const char* sectionName, const char* keyName) {
    return WideFromUtf8(utf8Path, path, kWidePathCount) &&
           WideFromUtf8(sectionName, section, kNameCount) && WideFromUtf8(keyName, key, kNameCount);
  }
};

// Code units of `text` whose UTF-8 form fits `room` bytes, cut after a whole
// character.
int UnitsFitting(const wchar_t* text, size_t room) {
  size_t bytes = 0;
  int units = 0;
  while (text[units] != L'\0') {
    const wchar_t c = text[units];
    const bool pair =
        c >= 0xD800 && c <= 0xDBFF && text[units + 1] >= 0xDC00 && text[units + 1] <= 0xDFFF;
    const size_t need = c < 0x80 ? 1 : c < 0x800 ? 2 : pair ? 4 : 3;
    if (bytes + need > room) break;
    bytes += need;
    units += pair ? 2 : 1;
  }
  return units;
}

// The UTF-8 text in `out` with its length. A text that does not fit is cut
// after a whole character and padded with blanks to fill the buffer, as the
// ANSI function fills it with a cut text: the caller sees that more may be missing.
size_t StoreProfileText(const wchar_t* text, char* out, size_t size) {
  const int length = Utf8FromWide(text, out, size);
  if (length >= 0) return static_cast<size_t>(length);
  const int units = UnitsFitting(text, size - 1);
  const int kept = units == 0 ? 0
                              : WideCharToMultiByte(CP_UTF8, 0, text, units, out,
                                                    static_cast<int>(size - 1), nullptr, nullptr);
  const size_t filled = kept > 0 ? static_cast<size_t>(kept) : 0;
  std::memset(out + filled, ' ', size - 1 - filled);
  out[size - 1] = '\0';
  return size - 1;
}

}  // namespace

uint32_t ReadProfileUnsigned(const char* path, const char* section, const char* key,
                             uint32_t fallback) {
  WideProfileNames names;
  if (!names.Convert(path, section, key)) return fallback;
  return GetPrivateProfileIntW(names.section, names.key, static_cast<INT>(fallback), names.path);
}

size_t ReadProfileText(const char* path, const char* section, const char* key, const char* fallback,
                       char* out, size_t size) {
  if (out == nullptr || size == 0) return 0;
  out[0] = '\0';
  WideProfileNames names;
  wchar_t wideFallback[kNameCount] = {};
  if (!names.Convert(path, section, key) || !WideFromUtf8(fallback, wideFallback, kNameCount)) {
    return 0;
  }
  wchar_t text[kProfileTextCount] = {};
  const DWORD count = static_cast<DWORD>(size < kProfileTextCount ? size : kProfileTextCount);
  GetPrivateProfileStringW(names.section, names.key, wideFallback, text, count, names.path);
  return StoreProfileText(text, out, size);
}

bool WriteProfileText(const char* path, const char* section, const char* key, const char* text) {
  WideProfileNames names;
  wchar_t wideText[kWrittenTextCount] = {};
  if (!names.Convert(path, section, key) || !WideFromUtf8(text, wideText, kWrittenTextCount)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  return WritePrivateProfileStringW(names.section, names.key, wideText, names.path) != FALSE;
}

bool WriteProfileUnsigned(const char* path, const char* section, const char* key, uint32_t value) {
  char text[32];
  return FormatText(text, sizeof text, "%u", value) > 0 &&
         WriteProfileText(path, section, key, text);
}

IniScanResult FindIniKey(const char* path, const char* section, const char* key, char* out,
                         size_t size) {
  if (out != nullptr && size > 0) out[0] = '\0';
  if (path == nullptr || path[0] == '\0') return IniScanResult::kNotFound;
  std::FILE* stream = OpenFileUtf8(path, L"rb");
  if (stream == nullptr) return IniScanResult::kNotFound;
  bool utf8 = true;
  const IniScanResult result = FindIniKeyInStream(stream, section, key, out, size, &utf8);
  static_cast<void>(std::fclose(stream));  // a read-only stream: nothing is lost on close
  if (result != IniScanResult::kFound || utf8 || out == nullptr || size == 0) {
    return result;
  }
  // Not UTF-8, whatever its first bytes: text in the system's ANSI code page,
  // as an editor without UTF-8 saves it and the profile functions read it.
  char ansi[kWrittenTextCount];
  if (FormatText(ansi, sizeof ansi, "%s", out) < 0 || Utf8FromAnsi(ansi, out, size) < 0) {
    out[0] = '\0';
    return IniScanResult::kRejected;
  }
  return result;
}

bool CanOpenFile(const char* path) {
  wchar_t widePath[kWidePathCount] = {};
  if (!WideFromUtf8(path, widePath, kWidePathCount)) return false;
  const HANDLE file =
      CreateFileW(widePath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

FilePresence QueryFilePresence(const char* path) {
  wchar_t widePath[kWidePathCount] = {};
  if (!WideFromUtf8(path, widePath, kWidePathCount)) return FilePresence::kUnknown;
  if (GetFileAttributesW(widePath) != INVALID_FILE_ATTRIBUTES) return FilePresence::kPresent;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FilePresence::kMissing
                                                                        : FilePresence::kUnknown;
}

bool CopyToNewFile(const char* from, const char* to) {
  wchar_t wideFrom[kWidePathCount] = {};
  wchar_t wideTo[kWidePathCount] = {};
  if (!WideFromUtf8(from, wideFrom, kWidePathCount) || !WideFromUtf8(to, wideTo, kWidePathCount)) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  if (!CopyFileW(wideFrom, wideTo, TRUE)) return false;
  // A starter unpacked read-only would otherwise make every later save fail.
  const DWORD attributes = GetFileAttributesW(wideTo);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    SetFileAttributesW(wideTo, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  }
  return true;
}

bool ReadFileStamp(const char* path, FileStamp* stamp) {
  WIN32_FILE_ATTRIBUTE_DATA attributes = {};
  wchar_t widePath[kWidePathCount] = {};
  if (!WideFromUtf8(path, widePath, kWidePathCount) ||
      !GetFileAttributesExW(widePath, GetFileExInfoStandard, &attributes)) {
    return false;
  }
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
