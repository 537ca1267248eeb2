#pragma once
#include <cstdint>

namespace artwheel {

// What the overlay is to be told after a tick's look at the game.
struct PanelDecision {
  enum Kind { kKeep, kHide, kShow } kind;
  uint32_t artId;  // with kShow: the equipped art, 0 when none or unknown
};

// Decides, once per worker tick, whether the skill panel is shown and with
// which combat art. `panelEnabled` is [SkillPanel] Enable as loaded.
PanelDecision UpdatePanelState(bool menuOpen, bool panelEnabled);

}  // namespace artwheel
