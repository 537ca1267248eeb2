#pragma once
// Moving through the settings menu: the pad's D-pad, A and B, the keyboard's
// arrows, Enter and Esc, turned into one command per tick, a held direction
// repeating. Platform-free: times are GetTickCount64 milliseconds.
#include <cstdint>

namespace artwheel {

inline constexpr uint64_t kMenuRepeatDelayMs = 400;
inline constexpr uint64_t kMenuRepeatPeriodMs = 100;

enum class MenuCommand : uint8_t { kNone, kUp, kDown, kLeft, kRight, kAccept, kBack };

// What is down in a tick, from the pad and the keyboard together.
struct MenuControls {
  bool up = false;
  bool down = false;
  bool left = false;
  bool right = false;
  bool accept = false;  // A, Enter
  bool back = false;    // B, Esc
};

// The pad's D-pad, A and B.
MenuControls PadMenuControls(uint16_t buttons);
MenuControls CombineMenuControls(const MenuControls& a, const MenuControls& b);

// Which controls were down in the last tick, and when the held direction
// began and last repeated.
struct MenuRepeat {
  MenuControls last;
  bool primed = false;  // a tick was seen: what is down at the first one was down before
  MenuCommand heldDirection = MenuCommand::kNone;
  uint64_t heldSince = 0;
  uint64_t lastRepeat = 0;
};

// The tick's command: a new press (a direction first, in the order up, down,
// left, right, then accept, then back), or a held direction again after
// 400 ms and every 100 ms from then on. Controls already down when the menu
// opens act only once released and pressed again.
MenuCommand NextMenuCommand(MenuRepeat& repeat, const MenuControls& now, uint64_t time);

}  // namespace artwheel
