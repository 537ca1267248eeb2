#pragma once
#include <dxgi.h>

namespace artwheel {

// Draws the skill panel and the message into back buffer 0 of the swap chain
// being presented; touches nothing when there is nothing to show.
void DrawOverlayFrame(IDXGISwapChain* swapChain);

}  // namespace artwheel
