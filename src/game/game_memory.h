#pragma once
// The walks from the host game's static pointers to its objects. Every call
// walks again; no game pointer is kept.
#include <cstdint>

namespace artwheel {

// The host image's base, asked again while it is still unknown; 0 when unavailable.
uint64_t GameModuleBase();

uint64_t LoadGamePointer(uint64_t address);
// The address of a static pointer variable at `offset` in the game's image; 0
// while the image is unknown or when the variables failed their check.
uint64_t StaticPointerAddress(uint64_t offset);
uint64_t GameDataManagerPointer();   // 0 when missing
uint64_t MenuStateManagerPointer();  // 0 when missing
uint64_t PlayerGameDataPointer();    // 0 when any link is missing

}  // namespace artwheel
