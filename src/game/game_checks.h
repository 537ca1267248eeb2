#pragma once
// The game's addresses checked before they are used, and the one log line
// that names the game build. A failed check switches the combinations, the
// keys and the panel off for the run, so that the game gets every button;
// nothing reads through or calls a failed address.
#include <cstdint>

namespace artwheel {

// Checks both static pointer variables on the first call (before the first
// read of either); true when both lie in committed, writable memory of the
// game's image. Worker thread only.
bool StaticPointersUsable();

// True once the two game functions passed their check at the game line.
bool GameFunctionsUsable();

// False for the rest of the run once a check failed.
bool GameAccessAllowed();

// Once, at the start of the first worker tick in which the game's data
// manager pointer is set (or at once when the pointers failed their check):
// checks the two functions and logs the game line. True in that tick only:
// from then on every check's verdict is known.
bool ReportGameOnce();

}  // namespace artwheel
