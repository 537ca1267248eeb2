#include "slots/panel_state.h"

#include <windows.h>

#include <cstring>

#include "core/memory.h"
#include "core/settings.h"
#include "overlay/overlay_state.h"
#include "overlay/present_hook.h"
#include "slots/game_access.h"
#include "slots/game_layout.h"
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

void UpdatePanelState(bool menuOpen) {
  const uint64_t now = GetTickCount64();
  const bool conditionsHold = settings.skillPanelEnabled && !menuOpen && GameplayConditionsHold();
  switch (NextPanelStep(panelTimers, conditionsHold, now)) {
    case PanelStep::kHideAndRestart:
    case PanelStep::kHide:
      SetPanelState(false, 0);
      return;
    case PanelStep::kKeep:
      return;
    case PanelStep::kRefresh:
      break;
  }
  uint32_t artId = 0;
  if (!EquippedArtId(&artId)) {
    SetPanelState(false, 0);
    return;
  }
  const bool visible = InstallPresentHook();  // before any overlay lock is taken
  SetPanelState(visible, artId);
}

}  // namespace artwheel
