#pragma once
// What the game does with DirectInput: creates the interface through the
// dinput8.dll it imports (artwheel, from the game's folder).
#include <cstdio>

namespace sim {

// With `withOut` false the interface-pointer address passed is null.
void CreateDirectInput(std::FILE* results, bool withOut);

// The interface of the last successful creation, kept as a game keeps it.
struct IDirectInput8A* LastDirectInput();

}  // namespace sim
