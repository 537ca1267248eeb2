#pragma once
// Reading the PE headers of a module image in memory: its NT headers, import
// directory, export names and section headers. The one place that knows the
// image format.
#include <windows.h>

#include <cstdint>

namespace artwheel {

// The NT headers of a module the loader mapped (its headers are trusted);
// null when the DOS or NT signature is wrong.
const IMAGE_NT_HEADERS64* ImageNtHeaders(HMODULE module);

// The same for an image whose memory may be anything: each header is read only
// after IsReadable allowed it. Null when unreadable or not an image.
const IMAGE_NT_HEADERS64* ReadableImageNtHeaders(uint64_t base);

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

// The export directory; null when the module exports nothing.
const IMAGE_EXPORT_DIRECTORY* ImageExports(HMODULE module);

// The name of the export directory's `index`-th name entry.
const char* ExportName(HMODULE module, const IMAGE_EXPORT_DIRECTORY& exports, DWORD index);

// Visits the section headers of an image found by ReadableImageNtHeaders, in
// order, while each header is readable; visit returns false to stop.
using SectionVisitor = bool (*)(const IMAGE_SECTION_HEADER& header, void* context);
void ForEachReadableSection(const IMAGE_NT_HEADERS64* nt, SectionVisitor visit, void* context);

}  // namespace artwheel
