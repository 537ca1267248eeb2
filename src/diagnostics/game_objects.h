#pragma once
// The game objects the diagnostics look at, reached only through memory that
// IsReadable allows.
#include <cstdint>

namespace artwheel {

// The menu-state object; 0 when its pointer cannot be read or is no object.
uint64_t ReachableMenuState();
// PlayerGameData; 0 when any link cannot be read or it is no object.
uint64_t ReachablePlayerData(uint64_t* gameDataManager = nullptr);

}  // namespace artwheel
