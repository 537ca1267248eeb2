#include "slots/panel_schedule.h"

#include "slots/combat_arts.h"

namespace artwheel {

PanelStep NextPanelStep(PanelTimers& timers, bool conditionsHold, uint64_t now) {
  if (!conditionsHold) {
    timers.lastHiddenTick = now;
    return PanelStep::kHideAndRestart;
  }
  if (timers.lastHiddenTick != 0 && now - timers.lastHiddenTick < kPanelSettleMs) {
    return PanelStep::kHide;
  }
  if (now - timers.lastRefreshTick < kPanelRefreshMs) return PanelStep::kKeep;
  timers.lastRefreshTick = now;
  return PanelStep::kRefresh;
}

bool GameplayConditionsHold(const MenuState& menu) {
  return menu.activeOrHud == 1 && menu.pauseMenu == 0 && menu.dialog == 0 &&
         menu.loadingOrUi == 1 && menu.modalOrDialog == 0 && menu.postLoad == 1 &&
         menu.npcMenu == 0;
}

uint32_t PanelArtId(const GameCalls& game, uint32_t equippedResolved) {
  uint32_t artId = 0;
  if (equippedResolved != 0 && !FindArtIdByResolvedId(game, equippedResolved, &artId)) artId = 0;
  return artId;
}

}  // namespace artwheel
