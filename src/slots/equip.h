#pragma once
#include <cstdint>

namespace artwheel {

// Equips `artId`, the combat art stored in the slot, through the game's own
// function; an empty slot (0), an art the save does not own or one already
// equipped is logged and skipped.
void EquipFromSlot(int slot, uint32_t artId);

}  // namespace artwheel
