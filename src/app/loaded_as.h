#pragma once
// How the library came into the process: as the process's dinput8.dll (the
// game reaches DirectInput through its export), or under another name, for
// instance loaded by a mod loader, when the worker reaches DirectInput itself.
#include <windows.h>

namespace artwheel {

// "[Core] Loaded as <file name> (...)": the file name, and whether the module
// is the process's dinput8.dll.
void LogLoadedAs(HMODULE module);

// The export notes each call: another module reaches DirectInput through it.
void NoteExportCalled();

// Once, from the worker after its start: unless the library is the process's
// dinput8.dll or its export was called, redirects DirectInput through objects
// of its own from the process's dinput8.dll, and logs one line.
void ReachDirectInputIfNotProvider(HMODULE module);

}  // namespace artwheel
