#pragma once
// The game's IDXGISwapChain3::SetColorSpace1 calls, seen through the swap
// chain method table that every swap chain of DXGI shares: a colour space a
// game set right after making its swap chain, long before the overlay's first
// frame, is kept on that swap chain (its private data) while the swap chain
// lives.
#include <dxgi1_4.h>

#include "base/patch.h"
#include "overlay/hdr_output.h"

namespace artwheel {

// Worker thread, at a hand-over of settings with [Overlay] Hdr=Auto: redirects
// the slot through a swap chain of our own. Tried once per process.
void InstallColorSpaceHook();

// Render thread: the colour space of the game's last successful call on this
// swap chain; `called` false when there was none (or it was never seen).
ColorSpaceCall ReadColorSpace(IDXGISwapChain* swapChain);

HRESULT STDMETHODCALLTYPE SetColorSpace1Detour(IDXGISwapChain3* swapChain,
                                               DXGI_COLOR_SPACE_TYPE colorSpace);

// Slot 38 of the swap chain method table.
extern Hook colorSpaceHook;

}  // namespace artwheel
