#include "game/game_memory.h"

#include <windows.h>

#include <cstring>

#include "game/game_layout.h"

namespace artwheel {
namespace {

uint64_t gameModuleBase = 0;

}  // namespace

uint64_t GameModuleBase() {
  if (gameModuleBase == 0) {
    gameModuleBase = reinterpret_cast<uint64_t>(GetModuleHandleA(nullptr));
  }
  return gameModuleBase;
}

uint64_t LoadGamePointer(uint64_t address) {
  uint64_t value = 0;
  std::memcpy(&value, reinterpret_cast<const void*>(address), sizeof value);
  return value;
}

uint64_t MenuStateManagerPointer() {
  const uint64_t base = GameModuleBase();
  return base == 0 ? 0 : LoadGamePointer(base + kMenuStateManagerOffset);
}

uint64_t PlayerGameDataPointer() {
  const uint64_t base = GameModuleBase();
  if (base == 0) return 0;
  const uint64_t gameData = LoadGamePointer(base + kGameDataManagerOffset);
  return gameData == 0 ? 0 : LoadGamePointer(gameData + kPlayerGameDataField);
}

}  // namespace artwheel
