#include "slots/equip.h"

#include <cstdint>
#include <cstring>

#include "base/log.h"
#include "game/game_layout.h"
#include "game/game_memory.h"
#include "slots/combat_arts.h"
#include "slots/slot_labels.h"

namespace artwheel {
namespace {

// The request block the game's equip function takes; only the resolved id is set.
struct EquipRequest {
  uint8_t reserved[0x38];
  uint32_t resolvedId;
  uint32_t tail;
};
static_assert(sizeof(EquipRequest) == 64, "the game reads 64 bytes");
static_assert(offsetof(EquipRequest, resolvedId) == 0x38, "resolved id at 0x38");

bool IsAlreadyEquipped(uint32_t artId) {
  uint32_t resolved = 0;
  if (!CallGameResolveArt(artId, &resolved) || !IsValidResolvedId(resolved)) return false;
  const uint64_t player = PlayerGameDataPointer();
  if (player == 0) return false;
  uint32_t equipped = 0;
  std::memcpy(&equipped, reinterpret_cast<const void*>(player + kEquippedResolvedIdField),
              sizeof equipped);
  return equipped == resolved;
}

bool RequestEquip(uint32_t artId) {
  EquipRequest request = {};
  uint32_t resolved = 0;
  if (!CallGameResolveArt(artId, &resolved) || !IsValidResolvedId(resolved)) {
    WriteLogFormat("[Skill] Could not resolve combat art id %u", artId);
    return false;
  }
  request.resolvedId = resolved;
  if (CallGameEquipArt(&request, 0) != 0) return true;
  return CallGameEquipArt(&request, 1) != 0;
}

}  // namespace

void EquipFromSlot(int slot, uint32_t artId) {
  if (slot < 0 || slot >= kSlotCount) return;
  const char* label = SlotLongLabel(slot);
  WriteLogFormat("[Skill] Hotkey %s selected slot %d, combat art id %u", label, slot, artId);
  if (artId == 0) {
    WriteLogFormat("[Skill] Slot %d (%s) is empty; skipped", slot, label);
    return;
  }
  if (!ResolveCombatArt(artId)) {
    WriteLogFormat("[Skill] Combat art id %u is not owned or not available in this save; skipped",
                   artId);
    return;
  }
  if (IsAlreadyEquipped(artId)) {
    WriteLogFormat("[Skill] Combat art id %u is already equipped; skipped", artId);
    return;
  }
  const bool equipped = RequestEquip(artId);
  WriteLogFormat("[Skill] Equip combat art id %u %s", artId, equipped ? "OK" : "FAILED");
}

}  // namespace artwheel
