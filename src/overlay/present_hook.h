#pragma once
// Every IDXGISwapChain::Present of the process runs PresentDetour first: the
// swap chain method table is shared by all swap chains, so patching it through
// a throw-away swap chain of our own reaches the game's.
#include <dxgi.h>

#include "base/patch.h"

namespace artwheel {

using PresentFn = HRESULT(STDMETHODCALLTYPE*)(IDXGISwapChain* swapChain, UINT syncInterval,
                                              UINT flags);

// Worker thread: makes a window, a device and a swap chain of our own, hands
// the swap chain to `use` (whose method table is the one every swap chain of
// DXGI shares) and releases them. False, with the reason logged, when they
// could not be made.
bool WithOwnSwapChain(void (*use)(IDXGISwapChain* swapChain));

// Worker thread. True once the detour is in place.
bool InstallPresentHook();

HRESULT STDMETHODCALLTYPE PresentDetour(IDXGISwapChain* swapChain, UINT syncInterval, UINT flags);

// Slot 8 of DXGI's swap chain method table; its original is DXGI's own Present.
extern Hook presentHook;

}  // namespace artwheel
