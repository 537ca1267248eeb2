#include "slots/panel_state.h"

#include <windows.h>

#include "slots/panel_schedule.h"

namespace artwheel {
namespace {

PanelTimers panelTimers;

}  // namespace

PanelDecision UpdatePanelState(const MenuState* menu, bool menuOpen, bool panelEnabled) {
  const uint64_t now = GetTickCount64();
  const bool conditionsHold =
      panelEnabled && !menuOpen && menu != nullptr && GameplayConditionsHold(*menu);
  switch (NextPanelStep(panelTimers, conditionsHold, now)) {
    case PanelStep::kHideAndRestart:
    case PanelStep::kHide:
      return {PanelDecision::kHide, 0};
    case PanelStep::kKeep:
      return {PanelDecision::kKeep, 0};
    case PanelStep::kRefresh:
      break;
  }
  uint32_t equipped = 0;
  if (!ReadEquippedArt(&equipped)) return {PanelDecision::kHide, 0};  // no save loaded
  return {PanelDecision::kShow, PanelArtId(kGameCalls, equipped)};
}

}  // namespace artwheel
