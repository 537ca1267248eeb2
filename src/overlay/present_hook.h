#pragma once
// Every IDXGISwapChain::Present of the process runs PresentDetour first: the
// swap chain method table is shared by all swap chains, so patching it through
// a throw-away swap chain of our own reaches the game's.
#include <dxgi.h>

#include <atomic>

namespace artwheel {

using PresentFn = HRESULT(STDMETHODCALLTYPE*)(IDXGISwapChain* swapChain, UINT syncInterval,
                                              UINT flags);

// Worker thread. True once the detour is in place.
bool InstallPresentHook();

HRESULT STDMETHODCALLTYPE PresentDetour(IDXGISwapChain* swapChain, UINT syncInterval, UINT flags);

// DXGI's own Present (a PresentFn), saved before the patch.
extern std::atomic<void*> savedPresent;

}  // namespace artwheel
