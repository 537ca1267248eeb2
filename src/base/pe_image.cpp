#include "base/pe_image.h"

#include "base/memory.h"

namespace artwheel {
namespace {

const unsigned char* ImageBase(HMODULE module) {
  return reinterpret_cast<const unsigned char*>(module);
}

// Where the NT headers would be, after the DOS header's signature passed.
const IMAGE_NT_HEADERS64* NtHeadersBehind(const IMAGE_DOS_HEADER* dos) {
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
  return reinterpret_cast<const IMAGE_NT_HEADERS64*>(reinterpret_cast<const unsigned char*>(dos) +
                                                     dos->e_lfanew);
}

}  // namespace

const IMAGE_NT_HEADERS64* ImageNtHeaders(HMODULE module) {
  if (module == nullptr) return nullptr;
  const IMAGE_NT_HEADERS64* nt = NtHeadersBehind(reinterpret_cast<const IMAGE_DOS_HEADER*>(module));
  return nt != nullptr && nt->Signature == IMAGE_NT_SIGNATURE ? nt : nullptr;
}

const IMAGE_NT_HEADERS64* ReadableImageNtHeaders(uint64_t base) {
  if (base == 0 || !IsReadable(base, sizeof(IMAGE_DOS_HEADER))) return nullptr;
  const IMAGE_NT_HEADERS64* nt = NtHeadersBehind(reinterpret_cast<const IMAGE_DOS_HEADER*>(base));
  if (nt == nullptr || !IsReadable(reinterpret_cast<uint64_t>(nt), sizeof(IMAGE_NT_HEADERS64))) {
    return nullptr;
  }
  return nt->Signature == IMAGE_NT_SIGNATURE ? nt : nullptr;
}

void ForEachImport(HMODULE module, ImportDllFilter filter, ImportVisitor visit, void* context) {
  const IMAGE_NT_HEADERS64* nt = ImageNtHeaders(module);
  if (nt == nullptr) return;
  const DWORD importsRva =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  if (importsRva == 0) return;

  const unsigned char* base = ImageBase(module);
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

const IMAGE_EXPORT_DIRECTORY* ImageExports(HMODULE module) {
  const IMAGE_NT_HEADERS64* nt = ImageNtHeaders(module);
  if (nt == nullptr) return nullptr;
  const IMAGE_DATA_DIRECTORY& entry =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (entry.VirtualAddress == 0 || entry.Size == 0) return nullptr;
  return reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(ImageBase(module) + entry.VirtualAddress);
}

const char* ExportName(HMODULE module, const IMAGE_EXPORT_DIRECTORY& exports, DWORD index) {
  const unsigned char* base = ImageBase(module);
  const auto* names = reinterpret_cast<const DWORD*>(base + exports.AddressOfNames);
  return reinterpret_cast<const char*>(base + names[index]);
}

void ForEachReadableSection(const IMAGE_NT_HEADERS64* nt, SectionVisitor visit, void* context) {
  const uint64_t table = reinterpret_cast<uint64_t>(nt) +
                         offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                         nt->FileHeader.SizeOfOptionalHeader;
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
    const uint64_t at = table + uint64_t{i} * sizeof(IMAGE_SECTION_HEADER);
    if (!IsReadable(at, sizeof(IMAGE_SECTION_HEADER))) return;
    if (!visit(*reinterpret_cast<const IMAGE_SECTION_HEADER*>(at), context)) return;
  }
}

}  // namespace artwheel
