#pragma once
// The slots' keyboard keys on the real keyboard, polled by the worker while
// the game is in front.
#include "input/slot_keys.h"

namespace artwheel {

// True when the foreground window belongs to this process.
bool IsOwnProcessInForeground();

// Reads the bound keys and the modifiers once; the slot whose key was just
// pressed, else -1. While another process is in front nothing is read and
// every key counts as held, so what is typed there never acts here.
int PollSlotKeys(SlotKeyTracker& tracker, const KeyBinding (&bindings)[kSlotKeyCount]);

// The settings menu's keys as they are now: [Keys] Menu (down with its
// modifier and without the other two) and, when asked, the arrows, Enter and
// Esc. With another program in front nothing is read and nothing is down.
struct MenuKeyStates {
  bool inFront = false;
  bool menuKey = false;
  bool up = false;
  bool down = false;
  bool left = false;
  bool right = false;
  bool enter = false;
  bool escape = false;
};
MenuKeyStates ReadMenuKeys(const KeyBinding& menuKey, bool navigation);

}  // namespace artwheel
