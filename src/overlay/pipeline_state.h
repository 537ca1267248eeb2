#pragma once
// The game's pipeline state kept whole across the overlay's drawing:
// everything the drawing binds is saved before and put back after, class
// instances included. Measured on both Direct3D stacks, this costs less than
// swapping in a state object of the overlay's own and back.
#include <d3d11.h>

namespace artwheel {

// One thread at a time (the render objects' turn): the game's state is held
// in this module between the two calls.
void SetAsideGameState(ID3D11DeviceContext* context);
// Unbinds the overlay's texture, then puts back everything and releases the
// saved references.
void BringBackGameState(ID3D11DeviceContext* context);

}  // namespace artwheel
