#include "slots/assign.h"

#include <windows.h>

#include <cstring>

#include "core/config.h"
#include "core/log.h"
#include "core/memory.h"
#include "core/settings.h"
#include "input/combo_guard.h"
#include "overlay/overlay_state.h"
#include "overlay/present_hook.h"
#include "slots/game_access.h"
#include "slots/game_layout.h"

namespace artwheel {
namespace {

// The combat art id under the menu's cursor; false when it cannot be read or
// is not among the owned known arts.
bool SelectedArt(uint32_t* artId, uint32_t* resolvedId) {
  const uint64_t menu = MenuStateManagerPointer();
  if (menu == 0 || !IsReadable(menu + kSelectedResolvedIdField, sizeof(uint32_t))) return false;
  std::memcpy(resolvedId, reinterpret_cast<const void*>(menu + kSelectedResolvedIdField),
              sizeof *resolvedId);
  return FindArtIdByResolvedId(*resolvedId, artId);
}

void ConfirmOnScreen(int slot) {
  char message[64] = {};
  if (FormatText(message, sizeof message, "Skill assigned to DPad Down + %s",
                 SlotInfo[slot].shortLabel) <= 0) {
    return;
  }
  if (settings.overlayEnabled && InstallPresentHook()) PostOverlayMessage(message);
}

}  // namespace

void AssignSelectedArt(int slot, SlotTrigger trigger) {
  if (slot < 0 || slot >= kSlotCount) return;
  if (trigger == SlotTrigger::kCombination) ArmComboGuard();
  uint32_t artId = 0;
  uint32_t resolvedId = 0;
  if (!SelectedArt(&artId, &resolvedId)) {
    WriteLogFormat("[Skill] Assignment failed for %s; selected combat art was not found",
                   SlotInfo[slot].longLabel);
    return;
  }
  settings.slotArtIds[slot] = artId;
  char value[32];
  const char* iniPath = ConfigIniPath();
  if (FormatText(value, sizeof value, "%u", artId) > 0 && iniPath[0] != '\0') {
    WritePrivateProfileStringA("Slots", SlotInfo[slot].shortLabel, value, iniPath);
  }
  WriteLogFormat("[Skill] Assigned combat art id %u (resolved %u) to slot %d (%s)", artId,
                 resolvedId, slot, SlotInfo[slot].longLabel);
  ConfirmOnScreen(slot);
}

}  // namespace artwheel
