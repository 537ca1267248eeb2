#include "base/wide_path.h"

namespace artwheel {

bool WideFromUtf8(const char* text, wchar_t* out, size_t count) {
  if (out == nullptr || count == 0) return false;
  out[0] = L'\0';
  if (text == nullptr) return false;
  const int length =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, out, static_cast<int>(count));
  if (length == 0) out[0] = L'\0';
  return length != 0;
}

int Utf8FromWide(const wchar_t* text, char* out, size_t size) {
  if (out == nullptr || size == 0) return -1;
  out[0] = '\0';
  if (text == nullptr) return -1;
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text, -1, out, static_cast<int>(size), nullptr, nullptr);
  if (length == 0) {
    out[0] = '\0';
    return -1;
  }
  return length - 1;  // without the terminator
}

int Utf8FromAnsi(const char* text, char* out, size_t size) {
  if (out == nullptr || size == 0) return -1;
  out[0] = '\0';
  wchar_t wide[kWidePathCount * 4] = {};
  if (text == nullptr ||
      MultiByteToWideChar(CP_ACP, 0, text, -1, wide, sizeof wide / sizeof wide[0]) == 0) {
    return -1;
  }
  return Utf8FromWide(wide, out, size);
}

size_t ModuleFileNameUtf8(HMODULE module, char* out, size_t size) {
  if (out == nullptr || size == 0) return 0;
  out[0] = '\0';
  wchar_t wide[kWidePathCount + 1] = {};
  const DWORD length = GetModuleFileNameW(module, wide, kWidePathCount + 1);
  if (length == 0) return 0;
  if (length > kWidePathCount) return size;  // cut short by the call
  const int written = Utf8FromWide(wide, out, size);
  return written < 0 ? size : static_cast<size_t>(written);
}

std::FILE* OpenFileUtf8(const char* path, const wchar_t* mode) {
  wchar_t wide[kWidePathCount] = {};
  return WideFromUtf8(path, wide, kWidePathCount) ? _wfopen(wide, mode) : nullptr;
}

}  // namespace artwheel
