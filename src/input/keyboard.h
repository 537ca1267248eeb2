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

}  // namespace artwheel
