#pragma once
// The in-game settings menu's own keys ([Menu], [Keys] Menu).
#include <cstdint>

#include "input/slot_keys.h"

namespace artwheel {

// The button pressed with the combinations' held button to open the menu.
enum class MenuOpenButton : uint8_t { kBack, kStart, kLeftStick, kRightStick };

inline constexpr uint32_t kDefaultMenuHoldMs = 1000;
inline constexpr uint32_t kMinMenuHoldMs = 300;
inline constexpr uint32_t kMaxMenuHoldMs = 3000;

struct MenuSettings {
  bool enabled = false;                         // [Menu] Enable
  MenuOpenButton open = MenuOpenButton::kBack;  // [Menu] Open
  uint32_t holdMs = kDefaultMenuHoldMs;         // [Menu] HoldMs
  KeyBinding key;                               // [Keys] Menu; no key when unbound
};

}  // namespace artwheel
