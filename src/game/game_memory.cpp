#include "game/game_memory.h"

#include <windows.h>

#include <cstring>

#include "game/game_checks.h"
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

uint64_t StaticPointerAddress(uint64_t offset) {
  const uint64_t base = GameModuleBase();
  return base != 0 && StaticPointersUsable() ? base + offset : 0;
}

uint64_t MenuStateManagerPointer() {
  const uint64_t variable = StaticPointerAddress(kMenuStateManagerOffset);
  return variable == 0 ? 0 : LoadGamePointer(variable);
}

uint64_t GameDataManagerPointer() {
  const uint64_t variable = StaticPointerAddress(kGameDataManagerOffset);
  return variable == 0 ? 0 : LoadGamePointer(variable);
}

uint64_t PlayerGameDataPointer() {
  const uint64_t gameData = GameDataManagerPointer();
  return gameData == 0 ? 0 : LoadGamePointer(gameData + kPlayerGameDataField);
}

}  // namespace artwheel
