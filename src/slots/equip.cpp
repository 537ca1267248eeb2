#include "slots/equip.h"

#include <cstdint>

#include "base/log.h"
#include "game/game_door.h"
#include "slots/slot_decisions.h"
#include "slots/slot_labels.h"

namespace artwheel {

void EquipFromSlot(int slot, uint32_t artId) {
  if (slot < 0 || slot >= kSlotCount) return;
  const char* label = SlotLongLabel(slot);
  WriteLogFormat("[Skill] Hotkey %s selected slot %d, combat art id %u", label, slot, artId);
  uint32_t equipped = 0;
  const bool saveLoaded = artId != 0 && ReadEquippedArt(&equipped);
  const EquipOutcome outcome = EquipArt(kGameCalls, artId, saveLoaded ? &equipped : nullptr);
  switch (outcome) {
    case EquipOutcome::kEmpty:
      WriteLogFormat("[Skill] Slot %d (%s) is empty; skipped", slot, label);
      return;
    case EquipOutcome::kNotOwned:
      WriteLogFormat("[Skill] Combat art id %u is not owned or not available in this save; skipped",
                     artId);
      return;
    case EquipOutcome::kAlreadyEquipped:
      WriteLogFormat("[Skill] Combat art id %u is already equipped; skipped", artId);
      return;
    case EquipOutcome::kNotResolved:
      WriteLogFormat("[Skill] Could not resolve combat art id %u", artId);
      WriteLogFormat("[Skill] Equip combat art id %u FAILED", artId);
      return;
    case EquipOutcome::kEquipped:
    case EquipOutcome::kFailed:
      break;
  }
  WriteLogFormat("[Skill] Equip combat art id %u %s", artId,
                 outcome == EquipOutcome::kEquipped ? "OK" : "FAILED");
}

}  // namespace artwheel
