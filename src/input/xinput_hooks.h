#pragma once
// Keeps the combination away from the game's XInput reads: the game's
// XInputGetState imports, and the answers of its GetProcAddress imports for
// "XInputGetState", lead to a filter.
#include <windows.h>
#include <xinput.h>

#include "base/patch.h"
#include "input/pad_follow.h"

namespace artwheel {

DWORD WINAPI XInputGetStateDetour(DWORD userIndex, XINPUT_STATE* state);
FARPROC WINAPI GetProcAddressDetour(HMODULE module, LPCSTR name);

// The game's XInputGetState import entries (and those of the modules beside
// it), leading to the filter; the original is the first XInput library found.
extern Hook xinputGetStateHook;
// GetProcAddress import entries of the game and of the modules named
// DINPUT8.dll; the original is kernel32's GetProcAddress.
extern Hook getProcAddressHook;

// The pads the game read through the filter since the worker last looked.
// Defined beside the filter, which reaches it without an indirection.
extern GameReadNotes gameReadNotes;

// Per module: the number of import entries redirected now.
int HookXInputImports(HMODULE module);
int HookGetProcAddressImports(HMODULE module);

// Over every loaded module; true when something was redirected now (or, for
// GetProcAddress, ever). Both run on the worker thread only.
bool InstallGetProcAddressImportHooks();
bool InstallXInputImportHooks();

}  // namespace artwheel
