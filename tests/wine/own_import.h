#pragma once
// The test program's own import of a kernel32 function: the entry a test
// redirects to put a stand-in between the library's code and the system.
#include <windows.h>

#include <cstring>

#include "base/pe_image.h"

namespace artwheel {

inline void** OwnKernel32Import(const char* name) {
  struct Search {
    const char* name;
    void** slot;
  } search{name, nullptr};
  ForEachImport(
      GetModuleHandleA(nullptr), [](const char* dll) { return _stricmp(dll, "kernel32.dll") == 0; },
      [](const ImportEntry& entry, void* context) {
        auto* wanted = static_cast<Search*>(context);
        if (entry.name != nullptr && std::strcmp(entry.name, wanted->name) == 0) {
          wanted->slot = entry.slot;
        }
      },
      &search);
  return search.slot;
}

}  // namespace artwheel
