#pragma once
#include "overlay/overlay_state.h"
#include "overlay/panel_layout.h"

namespace artwheel {

// The four slots beside the panel, each with its art's icon; an empty slot or
// one whose icon is missing shows the background alone, dimmed, and the slots
// of the equipped art are marked by a brighter background. Render thread, with
// the overlay's states bound.
void DrawWheel(const PanelRects& panel, const PanelState& state, const OverlaySettings& settings,
               float width, float height);

}  // namespace artwheel
