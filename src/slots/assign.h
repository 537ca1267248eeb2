#pragma once
#include "slots/slot_trigger.h"

namespace artwheel {

// Stores the combat art under the combat-art menu's cursor into the slot and
// into the configuration file, and confirms it on screen.
void AssignSelectedArt(int slot, SlotTrigger trigger);

}  // namespace artwheel
