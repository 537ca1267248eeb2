#include "file_version.h"

#include <windows.h>

namespace sim {

void WriteFileVersion(std::FILE* results, const char* file, const char* label) {
  static char data[16384];
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(file, &ignored);
  if (size == 0 || size > sizeof data || !GetFileVersionInfoA(file, 0, sizeof data, data)) {
    std::fprintf(results, "version %s none %lu\n", label, GetLastError());
    return;
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data, "\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr) {
    std::fprintf(results, "version %s none fixed\n", label);
    return;
  }
  std::fprintf(
      results, "version %s file=%u.%u.%u.%u product=%u.%u.%u.%u\n", label,
      unsigned(HIWORD(fixed->dwFileVersionMS)), unsigned(LOWORD(fixed->dwFileVersionMS)),
      unsigned(HIWORD(fixed->dwFileVersionLS)), unsigned(LOWORD(fixed->dwFileVersionLS)),
      unsigned(HIWORD(fixed->dwProductVersionMS)), unsigned(LOWORD(fixed->dwProductVersionMS)),
      unsigned(HIWORD(fixed->dwProductVersionLS)), unsigned(LOWORD(fixed->dwProductVersionLS)));
  const char* names[] = {"ProductName",      "FileVersion",     "ProductVersion",
                         "OriginalFilename", "FileDescription", "LegalCopyright"};
  for (const char* name : names) {
    char query[96];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\040904B0\\%s", name);
    char* text = nullptr;
    if (VerQueryValueA(data, query, reinterpret_cast<void**>(&text), &length) && text != nullptr) {
      std::fprintf(results, "version %s %s=%s\n", label, name, text);
    }
  }
}

}  // namespace sim
