#pragma once
// The game's own pad poll: chosen XInput indexes read every frame on a thread
// of the game's, through its XInputGetState import, as a game reads its pads.
#include <windows.h>

#include <cstdint>

namespace sim {

// Bit i: index i. 0 stops the poll (the thread stays, idle).
void PollPadsEveryFrame(uint32_t indexes);

// The buttons the poll saw on the pad since the last Forget, OR-ed together,
// and how many good reads it made there.
struct PadSeen {
  uint32_t buttons;
  uint32_t goodReads;
};
PadSeen SeenByGame(int index);
void ForgetSeenByGame();

}  // namespace sim
