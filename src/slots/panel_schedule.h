#pragma once
// When the skill panel's decision is published: shown only after the gameplay
// conditions have held for 350 ms, refreshed at most every 250 ms; and what
// it shows.
// Platform-free; times are GetTickCount64 milliseconds.
#include <cstdint>

#include "game/game_door.h"

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

// The seven menu-state words say the player is in play.
bool GameplayConditionsHold(const MenuState& menu);

// The art the panel shows for the player's equipped art (resolved id): 0 when
// none is equipped or the save's known arts do not hold it.
uint32_t PanelArtId(const GameCalls& game, uint32_t equippedResolved);

}  // namespace artwheel
