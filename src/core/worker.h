#pragma once
#include <windows.h>

namespace artwheel {

// The library's one thread: loads the configuration, then polls controller 0
// every 16 ms for the life of the process.
DWORD WINAPI WorkerMain(LPVOID libraryModule);

}  // namespace artwheel
