#pragma once
// The game's pipeline state kept whole across the overlay's drawing. Where the
// context swaps whole states, the overlay draws in a state object of its own
// and the game's is never touched; otherwise everything the drawing changes is
// saved before and put back after, class instances included.
#include <d3d11_1.h>

namespace artwheel {

struct OverlayContextState {
  ID3D11DeviceContext1* context1 = nullptr;
  ID3DDeviceContextState* state = nullptr;
  bool fixedBound = false;  // the overlay's own bindings already live in `state`
  bool triedOnDevice = false;
};

// Made with the device's other objects; false, with nothing kept, when the
// stack offers no state objects: the drawing then saves and restores.
// Releasing makes it ready for the next device.
bool MakeOverlayContextState(ID3D11Device* device, ID3D11DeviceContext* context,
                             OverlayContextState& own);
void ReleaseOverlayContextState(OverlayContextState& own);

// One thread at a time (the render objects' turn): the game's state is held
// in this module between the two calls.
void SetAsideGameState(ID3D11DeviceContext* context, OverlayContextState& own);
// Drops the frame's render target and texture from the overlay's own state,
// then gives the game its state back.
void BringBackGameState(ID3D11DeviceContext* context, OverlayContextState& own);

}  // namespace artwheel
