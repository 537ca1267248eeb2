#pragma once
// The game's DirectInput devices: CreateDevice (redirected once in the
// interface's table) hooks the reads and the data format of every device it
// makes, so that the filter sees what the game reads.
#include <unknwn.h>
#include <windows.h>

namespace artwheel {

// IDirectInput8::CreateDevice (slot 3 of the interface's method table).
using CreateDeviceFn = HRESULT(STDMETHODCALLTYPE*)(void* self, REFGUID guid, void** device,
                                                   IUnknown* outer);

// Redirects CreateDevice in the interface's method table, once per process
// (the first interface of any provider wins), and logs how it went.
void RedirectCreateDevice(void* directInput);
bool CreateDeviceRedirected();

HRESULT STDMETHODCALLTYPE CreateDeviceDetour(void* self, REFGUID guid, void** device,
                                             IUnknown* outer);

// Redirects GetDeviceState, GetDeviceData and SetDataFormat of the device's
// method table; true when at least one of them is in place.
bool HookDeviceMethods(void* device);

}  // namespace artwheel
