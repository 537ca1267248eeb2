#pragma once
// A slot chosen by a combination or a key, acted on: in play the slot's combat
// art is equipped; with the combat-art menu open the art under its cursor is
// stored in the slot, saved to artwheel.ini and confirmed on screen.
#include "app/settings.h"

namespace artwheel {

// A combination's buttons are hidden by the guard of its own pad, armed by the
// worker; a keyboard key arms none, since nothing would release it without a
// controller and the game's DirectInput keyboard reads would lose keys meanwhile.
void ActOnSlot(Settings& settings, int slot, bool assignmentMode);

}  // namespace artwheel
