#pragma once

namespace artwheel {

// Decides, once per worker tick, whether the skill panel is shown and with
// which combat art, and publishes it to the overlay.
void UpdatePanelState(bool menuOpen);

}  // namespace artwheel
