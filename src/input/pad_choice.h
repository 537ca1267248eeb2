#pragma once
// Which controller the combinations read ([Combination] Controller): one
// player number, as the lights on the pad show it, or every pad the game reads.
#include <cstdint>

namespace artwheel {

// kPlayer1 is XInput index 0, kPlayer4 index 3.
enum class PadChoice : uint8_t {
  kAuto = 0,
  kPlayer1 = 1,
  kPlayer2 = 2,
  kPlayer3 = 3,
  kPlayer4 = 4
};

}  // namespace artwheel
