#pragma once
// The simulator's image stands where the game's does: its static pointers and
// its two functions sit at the game's fixed offsets from the image base.
#include <cstdint>

namespace sim {

uint64_t ImageBase();

// Checks that the offsets fall inside the image's reserved block and writes
// absolute jumps to the given functions at the game's code offsets. False with
// a message on stderr when the layout does not hold.
bool PrepareHostImage(void* resolveArt, void* equipArt);

// The pointer variables at the game's offsets.
void SetGameDataManager(void* object);
void SetMenuStateManager(void* object);

}  // namespace sim
