#pragma once

namespace artwheel {

// Stores the combat art under the combat-art menu's cursor into the slot and
// into the configuration file, and confirms it on screen.
void AssignSelectedArt(int slot);

}  // namespace artwheel
