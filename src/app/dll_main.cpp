#include <windows.h>

#include "app/startup.h"

// The runtime's own start-up code has run by the time the loader calls this.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  return artwheel::StartupGuard(instance, reason);
}
