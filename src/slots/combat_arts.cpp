#include "slots/combat_arts.h"

#include <cstring>

#include "game/game_checks.h"
#include "game/game_layout.h"
#include "game/game_memory.h"

namespace artwheel {
namespace {

using GameResolveArtFn = uint32_t (*)(void* lookup, uint32_t* artId);
using GameEquipArtFn = int32_t (*)(int32_t one, void* request, int32_t mode);

template <typename T>
T LoadGameValue(uint64_t address) {
  T value{};
  std::memcpy(&value, reinterpret_cast<const void*>(address), sizeof value);
  return value;
}

uint64_t ArtLookupPointer() {
  const uint64_t player = PlayerGameDataPointer();
  return player == 0 ? 0 : LoadGamePointer(player + kArtLookupField);
}

}  // namespace

bool ReadAssignmentMode() {
  const uint64_t menu = MenuStateManagerPointer();
  return menu != 0 && LoadGameValue<uint32_t>(menu + kPauseMenuField) == kPauseMenuCombatArts;
}

bool CallGameResolveArt(uint32_t artId, uint32_t* resolved) {
  // Never into a function whose address has not passed its check.
  if (!GameFunctionsUsable()) return false;
  const uint64_t lookup = ArtLookupPointer();
  if (lookup == 0) return false;
  const auto resolve = reinterpret_cast<GameResolveArtFn>(GameModuleBase() + kGameResolveArtOffset);
  uint32_t id = artId;
  *resolved = resolve(reinterpret_cast<void*>(lookup + kArtLookupResolverArgument), &id);
  return true;
}

bool ResolveCombatArt(uint32_t artId, uint32_t* resolvedOut) {
  if (resolvedOut != nullptr) *resolvedOut = 0;
  uint32_t resolved = 0;
  if (!CallGameResolveArt(artId, &resolved) || !IsValidResolvedId(resolved)) return false;
  if (resolvedOut != nullptr) *resolvedOut = resolved;
  return true;
}

int ListOwnedCombatArts(OwnedArt* list) {
  if (list == nullptr) return 0;
  int count = 0;
  for (uint32_t id = kFirstCombatArtId; id < kCombatArtIdEnd; id += kCombatArtIdStep) {
    uint32_t resolved = 0;
    if (!CallGameResolveArt(id, &resolved) || !IsValidResolvedId(resolved)) continue;
    list[count++] = OwnedArt{id, resolved};
    if (count == kOwnedArtCapacity) break;
  }
  return count;
}

bool FindArtIdByResolvedId(uint32_t resolvedId, uint32_t* artIdOut) {
  if (!IsValidResolvedId(resolvedId)) return false;
  OwnedArt owned[kOwnedArtCapacity] = {};
  const int count = ListOwnedCombatArts(owned);
  for (int i = 0; i < count; ++i) {
    if (owned[i].resolvedId == resolvedId) {
      if (artIdOut != nullptr) *artIdOut = owned[i].artId;
      return true;
    }
  }
  return false;
}

int CallGameEquipArt(void* request, int mode) {
  if (!GameFunctionsUsable()) return 0;
  const auto equip = reinterpret_cast<GameEquipArtFn>(GameModuleBase() + kGameEquipArtOffset);
  return equip(1, request, mode);
}

}  // namespace artwheel
