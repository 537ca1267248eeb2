#pragma once
// When the skill panel's decision is published: shown only after the gameplay
// conditions have held for 350 ms, refreshed at most every 250 ms.
// Platform-free; times are GetTickCount64 milliseconds.
#include <cstdint>

namespace artwheel {

inline constexpr uint64_t kPanelSettleMs = 350;
inline constexpr uint64_t kPanelRefreshMs = 250;

struct PanelTimers {
  uint64_t lastHiddenTick = 0;   // last pass hidden by a failed condition; 0 = never
  uint64_t lastRefreshTick = 0;  // last pass that looked the equipped art up; 0 = never
};

enum class PanelStep {
  kHideAndRestart,  // a condition failed: hide and restart the settle time
  kHide,            // still settling: hide
  kKeep,            // publish nothing; the last decision stands
  kRefresh,         // look the equipped art up and publish
};

PanelStep NextPanelStep(PanelTimers& timers, bool conditionsHold, uint64_t now);

}  // namespace artwheel
