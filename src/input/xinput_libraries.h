#pragma once
// The XInput libraries found by the worker's discovery pass. Filled on the
// worker thread before any import entry is redirected; read without a lock by
// the detours afterwards.
#include <windows.h>
#include <xinput.h>

#include <cstdint>

namespace artwheel {

using XInputGetStateFn = DWORD(WINAPI*)(DWORD userIndex, XINPUT_STATE* state);
using GetProcAddressFn = FARPROC(WINAPI*)(HMODULE module, LPCSTR name);

inline constexpr uint32_t kMaxXInputLibraries = 5;

struct XInputLibraryTable {
  XInputGetStateFn entries[kMaxXInputLibraries] = {};
  uint32_t count = 0;
};

extern XInputLibraryTable XInputLibraries;

// Tries the five XInput file names in order; every library that exports
// XInputGetState stays loaded and joins the table. The first one found is the
// original of the XInputGetState hook, and kernel32's GetProcAddress that of
// the GetProcAddress hook. True once an XInputGetState is known.
bool DiscoverXInputLibraries();

// The XInputGetState the worker polls and the filter calls on; null before
// the discovery found one.
XInputGetStateFn FoundXInputGetState();

}  // namespace artwheel
