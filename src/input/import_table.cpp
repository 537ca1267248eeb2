#include "input/import_table.h"

namespace artwheel {

void ForEachImport(HMODULE module, ImportDllFilter filter, ImportVisitor visit, void* context) {
  if (module == nullptr) return;
  const auto* base = reinterpret_cast<const unsigned char*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return;
  const DWORD importsRva =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  if (importsRva == 0) return;

  for (const auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + importsRva);
       descriptor->Name != 0; ++descriptor) {
    const char* dllName = reinterpret_cast<const char*>(base + descriptor->Name);
    if (descriptor->OriginalFirstThunk == 0 || descriptor->FirstThunk == 0 || !filter(dllName)) {
      continue;
    }
    const auto* names = reinterpret_cast<const ULONGLONG*>(base + descriptor->OriginalFirstThunk);
    auto** slots =
        reinterpret_cast<void**>(const_cast<unsigned char*>(base) + descriptor->FirstThunk);
    for (; *names != 0; ++names, ++slots) {
      const bool byOrdinal = (*names & IMAGE_ORDINAL_FLAG64) != 0;
      const char* name = byOrdinal ? nullptr : reinterpret_cast<const char*>(base + *names + 2);
      visit(ImportEntry{dllName, name, slots}, context);
    }
  }
}

}  // namespace artwheel
