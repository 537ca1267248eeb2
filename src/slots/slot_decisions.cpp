#include "slots/slot_decisions.h"

#include "slots/combat_arts.h"

namespace artwheel {
namespace {

bool IsAlreadyEquipped(const GameCalls& game, uint32_t artId, const uint32_t* equipped) {
  uint32_t resolved = 0;
  if (!ResolveCombatArt(game, artId, &resolved)) return false;
  return equipped != nullptr && *equipped == resolved;
}

}  // namespace

EquipOutcome EquipArt(const GameCalls& game, uint32_t artId, const uint32_t* equipped) {
  if (artId == 0) return EquipOutcome::kEmpty;
  if (!ResolveCombatArt(game, artId)) return EquipOutcome::kNotOwned;
  if (IsAlreadyEquipped(game, artId, equipped)) return EquipOutcome::kAlreadyEquipped;
  EquipRequest request = {};
  if (!ResolveCombatArt(game, artId, &request.resolvedId)) return EquipOutcome::kNotResolved;
  if (game.equipArt(&request, 0) != 0) return EquipOutcome::kEquipped;
  return game.equipArt(&request, 1) != 0 ? EquipOutcome::kEquipped : EquipOutcome::kFailed;
}

bool FindAssignment(const GameCalls& game, int slot, const uint32_t* selected,
                    Assignment* assignment) {
  *assignment = Assignment{slot, 0, 0};
  if (selected == nullptr) return false;
  assignment->resolvedId = *selected;
  return FindArtIdByResolvedId(game, *selected, &assignment->artId);
}

}  // namespace artwheel
