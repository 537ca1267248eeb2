#include "slots/panel_schedule.h"

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

}  // namespace artwheel
