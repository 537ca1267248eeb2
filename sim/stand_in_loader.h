#pragma once
// The stand-in loader's side of the fake provider it is built with.
#include <unknwn.h>
#include <windows.h>

// The loader's own DllMain work, and the moment after a device's data format was set.
void LoaderAttached(HMODULE self);
void LoaderFormatSet();

// The provider's DirectInput8Create, which the loader serves unless it chains.
extern "C" HRESULT WINAPI ProvideDirectInput8Create(HINSTANCE instance, DWORD version, REFIID riid,
                                                    LPVOID* out, IUnknown* outer);
