#include "input/menu_navigation.h"

#include "input/combo.h"

namespace artwheel {
namespace {

constexpr uint16_t kDpadUp = 0x0001;
constexpr uint16_t kDpadLeft = 0x0004;
constexpr uint16_t kDpadRight = 0x0008;

bool IsDirection(MenuCommand command) {
  return command == MenuCommand::kUp || command == MenuCommand::kDown ||
         command == MenuCommand::kLeft || command == MenuCommand::kRight;
}

bool IsDown(const MenuControls& controls, MenuCommand command) {
  switch (command) {
    case MenuCommand::kUp:
      return controls.up;
    case MenuCommand::kDown:
      return controls.down;
    case MenuCommand::kLeft:
      return controls.left;
    case MenuCommand::kRight:
      return controls.right;
    case MenuCommand::kAccept:
      return controls.accept;
    case MenuCommand::kBack:
      return controls.back;
    case MenuCommand::kNone:
      break;
  }
  return false;
}

constexpr MenuCommand kOrder[] = {MenuCommand::kUp,    MenuCommand::kDown,   MenuCommand::kLeft,
                                  MenuCommand::kRight, MenuCommand::kAccept, MenuCommand::kBack};

}  // namespace

MenuControls PadMenuControls(uint16_t buttons) {
  MenuControls controls;
  controls.up = (buttons & kDpadUp) != 0;
  controls.down = (buttons & kButtonDpadDown) != 0;
  controls.left = (buttons & kDpadLeft) != 0;
  controls.right = (buttons & kDpadRight) != 0;
  controls.accept = (buttons & kButtonA) != 0;
  controls.back = (buttons & kButtonB) != 0;
  return controls;
}

MenuControls CombineMenuControls(const MenuControls& a, const MenuControls& b) {
  return MenuControls{a.up || b.up,       a.down || b.down,     a.left || b.left,
                      a.right || b.right, a.accept || b.accept, a.back || b.back};
}

MenuCommand NextMenuCommand(MenuRepeat& repeat, const MenuControls& now, uint64_t time) {
  const MenuControls before = repeat.primed ? repeat.last : now;
  repeat.primed = true;
  repeat.last = now;
  if (repeat.heldDirection != MenuCommand::kNone && !IsDown(now, repeat.heldDirection)) {
    repeat.heldDirection = MenuCommand::kNone;
  }
  for (MenuCommand command : kOrder) {
    if (!IsDown(now, command) || IsDown(before, command)) continue;
    if (IsDirection(command)) {
      repeat.heldDirection = command;
      repeat.heldSince = time;
      repeat.lastRepeat = time;
    }
    return command;
  }
  if (repeat.heldDirection == MenuCommand::kNone) return MenuCommand::kNone;
  if (time - repeat.heldSince < kMenuRepeatDelayMs) return MenuCommand::kNone;
  if (repeat.lastRepeat == repeat.heldSince) {
    // The first repeat comes at 400 ms, the next ones every 100 ms after it.
    repeat.lastRepeat = repeat.heldSince + kMenuRepeatDelayMs;
    return repeat.heldDirection;
  }
  if (time - repeat.lastRepeat < kMenuRepeatPeriodMs) return MenuCommand::kNone;
  repeat.lastRepeat += kMenuRepeatPeriodMs;
  return repeat.heldDirection;
}

}  // namespace artwheel
