#pragma once
// The device filter's entry: IDirectInput8::CreateDevice, redirected once.
#include <unknwn.h>
#include <windows.h>

#include <atomic>

namespace artwheel {

// IDirectInput8::CreateDevice (slot 3 of the interface's method table).
using CreateDeviceFn = HRESULT(STDMETHODCALLTYPE*)(void* self, REFGUID guid, void** device,
                                                   IUnknown* outer);

extern std::atomic<CreateDeviceFn> savedCreateDevice;

HRESULT STDMETHODCALLTYPE CreateDeviceDetour(void* self, REFGUID guid, void** device,
                                             IUnknown* outer);

}  // namespace artwheel
