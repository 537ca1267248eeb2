#include "product_imports.h"

#include <windows.h>

#include <cstring>

namespace sim {
namespace {

// The artwheel DLL of the game's folder.
HMODULE ProductModule() {
  char path[MAX_PATH];
  if (GetFullPathNameA("dinput8.dll", sizeof path, path, nullptr) == 0) return nullptr;
  return GetModuleHandleA(path);
}

}  // namespace

int RedirectProductImports(ImportReplacement* replacements, int count) {
  HMODULE module = ProductModule();
  if (module == nullptr) return 0;
  auto* base = reinterpret_cast<unsigned char*>(module);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS64*>(
      base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const DWORD rva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  int redirected = 0;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + rva); rva != 0 && d->Name != 0;
       ++d) {
    auto* names = reinterpret_cast<ULONGLONG*>(base + d->OriginalFirstThunk);
    auto** slots = reinterpret_cast<void**>(base + d->FirstThunk);
    for (; *names != 0; ++names, ++slots) {
      if (*names & IMAGE_ORDINAL_FLAG64) continue;
      const char* name = reinterpret_cast<const char*>(base + *names + 2);
      for (int i = 0; i < count; ++i) {
        ImportReplacement& r = replacements[i];
        if (std::strcmp(name, r.name) != 0 || *slots == r.counting) continue;
        *r.real = *slots;
        DWORD old = 0;
        VirtualProtect(slots, sizeof(void*), PAGE_READWRITE, &old);
        *slots = r.counting;
        VirtualProtect(slots, sizeof(void*), old, &old);
        ++redirected;
      }
    }
  }
  return redirected;
}

}  // namespace sim
