#include "diagnostics/game_objects.h"

#include "base/memory.h"
#include "game/game_layout.h"
#include "game/game_memory.h"

namespace artwheel {

uint64_t ReachableMenuState() {
  const uint64_t variable = StaticPointerAddress(kMenuStateManagerOffset);
  uint64_t menu = 0;
  if (variable == 0 || !ReadU64IfReadable(variable, &menu)) return 0;
  return IsObjectPointer(menu) ? menu : 0;
}

uint64_t ReachablePlayerData(uint64_t* gameDataManager) {
  const uint64_t variable = StaticPointerAddress(kGameDataManagerOffset);
  uint64_t manager = 0;
  uint64_t player = 0;
  if (variable == 0 || !ReadU64IfReadable(variable, &manager) ||
      !ReadU64IfReadable(manager + kPlayerGameDataField, &player) || !IsObjectPointer(player)) {
    return 0;
  }
  if (gameDataManager != nullptr) *gameDataManager = manager;
  return player;
}

}  // namespace artwheel
