#include "slots/combat_arts.h"

#include "game/game_layout.h"

namespace artwheel {

bool InAssignmentMode(const MenuState& menu) { return menu.pauseMenu == kPauseMenuCombatArts; }

bool ResolveCombatArt(const GameCalls& game, uint32_t artId, uint32_t* resolvedOut) {
  if (resolvedOut != nullptr) *resolvedOut = 0;
  uint32_t resolved = 0;
  if (!game.resolveArt(artId, &resolved) || !IsValidResolvedId(resolved)) return false;
  if (resolvedOut != nullptr) *resolvedOut = resolved;
  return true;
}

int ListOwnedCombatArts(const GameCalls& game, OwnedArt* list) {
  if (list == nullptr) return 0;
  int count = 0;
  for (uint32_t id = kFirstCombatArtId; id < kCombatArtIdEnd; id += kCombatArtIdStep) {
    uint32_t resolved = 0;
    if (!ResolveCombatArt(game, id, &resolved)) continue;
    list[count++] = OwnedArt{id, resolved};
    if (count == kOwnedArtCapacity) break;
  }
  return count;
}

bool FindArtIdByResolvedId(const GameCalls& game, uint32_t resolvedId, uint32_t* artIdOut) {
  if (!IsValidResolvedId(resolvedId)) return false;
  OwnedArt owned[kOwnedArtCapacity] = {};
  const int count = ListOwnedCombatArts(game, owned);
  for (int i = 0; i < count; ++i) {
    if (owned[i].resolvedId == resolvedId) {
      if (artIdOut != nullptr) *artIdOut = owned[i].artId;
      return true;
    }
  }
  return false;
}

}  // namespace artwheel
