#pragma once
#include "slots/slot_trigger.h"

namespace artwheel {

// Equips the combat art stored in the slot through the game's own function.
void EquipFromSlot(int slot, SlotTrigger trigger);

}  // namespace artwheel
