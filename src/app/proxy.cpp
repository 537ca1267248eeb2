// The library's one export: DirectInput8Create, forwarded to a chained proxy
// named in the configuration or to the system's dinput8.dll. The first
// successful creation in the host process also redirects the interface's
// CreateDevice to the device filter; other programs get the provider's objects
// untouched.
#include <unknwn.h>
#include <windows.h>

#include "app/chainload.h"
#include "app/loaded_as.h"
#include "app/startup.h"
#include "input/dinput_devices.h"

extern "C" HRESULT WINAPI DirectInput8Create(HINSTANCE instance, DWORD version, REFIID riid,
                                             LPVOID* out, IUnknown* outer) {
  using namespace artwheel;
  NoteExportCalled();
  const HRESULT result = ForwardDirectInput8Create(instance, version, riid, out, outer);
  if (FAILED(result) || out == nullptr || *out == nullptr) return result;
  if (!InHostProcess() || CreateDeviceRedirected()) return result;
  RedirectCreateDevice(*out);
  return result;
}
