#pragma once
#include <cstdint>

#include "game/game_door.h"

namespace artwheel {

// What the overlay is to be told after a tick's look at the game.
struct PanelDecision {
  enum Kind { kKeep, kHide, kShow } kind;
  uint32_t artId;  // with kShow: the equipped art, 0 when none or unknown
};

// Decides, once per worker tick, whether the skill panel is shown and with
// which combat art. `menu` is the tick's menu state (null when it could not be
// read); `panelEnabled` is [SkillPanel] Enable as loaded.
PanelDecision UpdatePanelState(const MenuState* menu, bool menuOpen, bool panelEnabled);

}  // namespace artwheel
