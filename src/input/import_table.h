#pragma once
// Walking a loaded module's import directory.
#include <windows.h>

namespace artwheel {

struct ImportEntry {
  const char* dllName;
  const char* name;  // null for an import by ordinal
  void** slot;       // the import address table entry
};

using ImportDllFilter = bool (*)(const char* dllName);
using ImportVisitor = void (*)(const ImportEntry& entry, void* context);

// Visits every entry of the descriptors whose DLL name passes `filter`. Does
// nothing for a module without valid headers or without imports.
void ForEachImport(HMODULE module, ImportDllFilter filter, ImportVisitor visit, void* context);

}  // namespace artwheel
