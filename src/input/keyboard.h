#pragma once
// The slots' keyboard keys ([Keys]) on the real keyboard: read once at start,
// polled by the worker while the game is in front.
#include "input/slot_keys.h"

namespace artwheel {

// Fills settings.slotKeys from [Keys]; an unknown name is logged and leaves
// its slot without a key. The section is only read, never written.
void LoadSlotKeys(const char* iniPath);

// True when the foreground window belongs to this process.
bool IsOwnProcessInForeground();

// Reads the bound keys and the modifiers once; the slot whose key was just
// pressed, else -1. While another process is in front nothing is read and
// every key counts as held, so what is typed there never acts here.
int PollSlotKeys(SlotKeyTracker& tracker);

}  // namespace artwheel
