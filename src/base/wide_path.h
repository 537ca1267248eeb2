#pragma once
// Paths are UTF-8 text inside the library and go to the system through its
// wide-character functions, so that a folder named in any language works: the
// ANSI functions turn characters outside the system's code page into '?'.
#include <windows.h>

#include <cstddef>
#include <cstdio>

#include "base/utf8_text.h"

namespace artwheel {

// The longest path the wide functions take without a long-path prefix, with
// its terminator; kUtf8PathSize holds any such path in UTF-8.
inline constexpr size_t kWidePathCount = MAX_PATH;
static_assert(kWidePathCount == kPathUnits, "one limit for wide and UTF-8 paths");

// UTF-8 text as UTF-16 in `out` (`count` code units with the terminator);
// false, and an empty `out`, when it is not UTF-8 or does not fit.
bool WideFromUtf8(const char* text, wchar_t* out, size_t count);

// UTF-16 text as UTF-8 in `out`; the length, or -1 (and an empty `out`) when it
// does not fit.
int Utf8FromWide(const wchar_t* text, char* out, size_t size);

// Text in the system's ANSI code page as UTF-8; -1 when it does not fit.
int Utf8FromAnsi(const char* text, char* out, size_t size);

// GetModuleFileNameW as UTF-8: the length, 0 when it cannot be read, or `size`
// when the path does not fit (the text is then not to be used).
size_t ModuleFileNameUtf8(HMODULE module, char* out, size_t size);

// _wfopen of a UTF-8 path; nullptr when the path does not convert.
std::FILE* OpenFileUtf8(const char* path, const wchar_t* mode);

}  // namespace artwheel
