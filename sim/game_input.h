#pragma once
// What the game does with DirectInput: creates the interface through the
// dinput8.dll it imports (artwheel, from the game's folder).
#include <cstdio>

namespace sim {

void CreateDirectInput(std::FILE* results);

}  // namespace sim
