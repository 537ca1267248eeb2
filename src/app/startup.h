#pragma once
#include <windows.h>

namespace artwheel {

// This library's own module, stored at attach before any check.
HMODULE LibraryModule();

// True once this copy of the library started the worker in the host process;
// in another process, and in a second copy that lost the start-up guard, the
// export forwards and touches nothing of what the provider made.
bool InHostProcess();

// The body of the entry point: starts the worker once per host process. Always TRUE.
BOOL StartupGuard(HMODULE module, DWORD reason);

}  // namespace artwheel
