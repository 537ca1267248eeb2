#pragma once

namespace artwheel {

// Equips the combat art stored in the slot through the game's own function.
void EquipFromSlot(int slot);

}  // namespace artwheel
