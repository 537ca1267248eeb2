#pragma once
// The game's DirectInput devices: CreateDevice (redirected once in the
// interface's table) hooks the reads and the data format of every device it
// makes, so that the filter sees what the game reads.
#include <unknwn.h>
#include <windows.h>

#include "base/patch.h"

namespace artwheel {

// IDirectInput8::CreateDevice (slot 3 of the interface's method table).
using CreateDeviceFn = HRESULT(STDMETHODCALLTYPE*)(void* self, REFGUID guid, void** device,
                                                   IUnknown* outer);

// The two CreateDevice redirections: the export redirects the first interface
// it meets; objects of the library's own redirect the ANSI and the wide table.
enum class InterfaceTable { kFirst, kWide };

// Redirects CreateDevice in the interface's method table, once per process
// and kind of table (the first interface of any provider wins). Logs nothing.
PatchStatus RedirectInterfaceTable(void* directInput, InterfaceTable which);

// The export's redirection: RedirectInterfaceTable(kFirst), and how it went in the log.
void RedirectCreateDevice(void* directInput);
bool CreateDeviceRedirected();

HRESULT STDMETHODCALLTYPE CreateDeviceDetour(void* self, REFGUID guid, void** device,
                                             IUnknown* outer);

// Redirects GetDeviceState, GetDeviceData and SetDataFormat of the device's
// method table; true when at least one of them is in place.
bool HookDeviceMethods(void* device);

}  // namespace artwheel
