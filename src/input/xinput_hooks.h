#pragma once
// Keeps the combination away from the game's XInput reads: the game's
// XInputGetState imports, and the answers of its GetProcAddress imports for
// "XInputGetState", lead to a filter.
#include <windows.h>
#include <xinput.h>

namespace artwheel {

DWORD WINAPI XInputGetStateDetour(DWORD userIndex, XINPUT_STATE* state);
FARPROC WINAPI GetProcAddressDetour(HMODULE module, LPCSTR name);

// Per module: the number of import entries redirected now.
int HookXInputImports(HMODULE module);
int HookGetProcAddressImports(HMODULE module);

// Over every loaded module; true when something was redirected now (or, for
// GetProcAddress, ever). Both run on the worker thread only.
bool InstallGetProcAddressImportHooks();
bool InstallXInputImportHooks();

}  // namespace artwheel
