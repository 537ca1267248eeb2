#pragma once
// A slot chosen by a combination or a key, acted on: in play the slot's combat
// art is equipped; with the combat-art menu open the art under its cursor is
// stored in the slot, saved to artwheel.ini and confirmed on screen.
#include "app/settings.h"
#include "slots/assign.h"

namespace artwheel {

// What asked for a slot action: the message names a key itself, since the
// combination it stands for may be one the player never uses. A combination's
// buttons are hidden by the guard of its own pad, armed by the worker; a
// keyboard key arms none, since nothing would release it without a controller
// and the game's DirectInput keyboard reads would lose keys meanwhile.
enum class SlotTrigger { kCombination, kKey };

// The assignment's confirmation in that language. It names what the player
// pressed: the slot's buttons, or for a key the key ("F1", "Shift+Q").
bool FormatConfirmation(const Settings& settings, int slot, SlotTrigger trigger, Language language,
                        unsigned long saveError, char (&message)[kAssignedMessageSize]);

void ActOnSlot(Settings& settings, int slot, bool assignmentMode, SlotTrigger trigger);

}  // namespace artwheel
