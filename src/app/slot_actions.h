#pragma once
// A slot chosen by a combination or a key, acted on: in play the slot's combat
// art is equipped; with the combat-art menu open the art under its cursor is
// stored in the slot, saved to artwheel.ini and confirmed on screen.
#include "app/settings.h"

namespace artwheel {

// What asked for a slot action. Only a controller combination has buttons to
// hide from the game; a keyboard key arms no ComboGuard, since nothing would
// release it without a controller and the game's DirectInput keyboard reads
// would lose keys meanwhile.
enum class SlotTrigger { kCombination, kKey };

void ActOnSlot(Settings& settings, int slot, bool assignmentMode, SlotTrigger trigger);

}  // namespace artwheel
