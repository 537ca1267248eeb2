#include "slots/panel_state.h"

#include <windows.h>

#include <cstring>

#include "base/memory.h"
#include "game/game_layout.h"
#include "game/game_memory.h"
#include "slots/combat_arts.h"
#include "slots/panel_schedule.h"

namespace artwheel {
namespace {

PanelTimers panelTimers;

struct GameplayCondition {
  uint64_t offset;
  uint32_t required;
};

constexpr GameplayCondition kGameplayConditions[] = {
    {kActiveOrHudField, 1},   {kPauseMenuField, 0}, {kDialogField, 0},  {kLoadingOrUiField, 1},
    {kModalOrDialogField, 0}, {kPostLoadField, 1},  {kNpcMenuField, 0},
};

// The seven menu-state fields say the player is in play; each is read only
// after it is known to be readable.
bool GameplayConditionsHold() {
  const uint64_t menu = MenuStateManagerPointer();
  if (menu == 0) return false;
  for (const GameplayCondition& condition : kGameplayConditions) {
    const uint64_t address = menu + condition.offset;
    if (!IsReadable(address, sizeof(uint32_t))) return false;
    uint32_t value = 0;
    std::memcpy(&value, reinterpret_cast<const void*>(address), sizeof value);
    if (value != condition.required) return false;
  }
  return true;
}

// The equipped art's id, 0 when none or unknown; false when no save is loaded.
bool EquippedArtId(uint32_t* artId) {
  const uint64_t player = PlayerGameDataPointer();
  if (player == 0) return false;
  uint32_t resolved = 0;
  std::memcpy(&resolved, reinterpret_cast<const void*>(player + kEquippedResolvedIdField),
              sizeof resolved);
  *artId = 0;
  if (resolved != 0 && !FindArtIdByResolvedId(resolved, artId)) *artId = 0;
  return true;
}

}  // namespace

PanelDecision UpdatePanelState(bool menuOpen, bool panelEnabled) {
  const uint64_t now = GetTickCount64();
  const bool conditionsHold = panelEnabled && !menuOpen && GameplayConditionsHold();
  switch (NextPanelStep(panelTimers, conditionsHold, now)) {
    case PanelStep::kHideAndRestart:
    case PanelStep::kHide:
      return {PanelDecision::kHide, 0};
    case PanelStep::kKeep:
      return {PanelDecision::kKeep, 0};
    case PanelStep::kRefresh:
      break;
  }
  uint32_t artId = 0;
  if (!EquippedArtId(&artId)) return {PanelDecision::kHide, 0};
  return {PanelDecision::kShow, artId};
}

}  // namespace artwheel
