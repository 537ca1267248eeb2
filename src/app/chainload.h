#pragma once
// Where the export's calls go: a chained provider that artwheel.ini names (so
// that another dinput8.dll mod keeps working beside this one), else the
// system's dinput8.dll.
#include <unknwn.h>
#include <windows.h>

namespace artwheel {

// Loads the chained provider on the first call, chooses the provider and calls
// it; E_FAIL when there is none. A chain that leads back here is refused.
HRESULT ForwardDirectInput8Create(HINSTANCE instance, DWORD version, REFIID riid, LPVOID* out,
                                  IUnknown* outer);

}  // namespace artwheel
