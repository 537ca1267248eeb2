#include "game/game_door.h"

#include <cstring>

#include "base/memory.h"
#include "game/game_checks.h"
#include "game/game_layout.h"
#include "game/game_memory.h"

namespace artwheel {
namespace {

using GameResolveArtFn = uint32_t (*)(void* lookup, uint32_t* artId);
using GameEquipArtFn = int32_t (*)(int32_t one, void* request, int32_t mode);

// The pointer at `field` of a game object; 0 when the object is missing or
// the word cannot be read.
uint64_t ReadLink(uint64_t object, uint64_t field) {
  uint64_t value = 0;
  return object != 0 && ReadU64IfReadable(object + field, &value) ? value : 0;
}

uint64_t PlayerGameData() { return ReadLink(GameDataManagerPointer(), kPlayerGameDataField); }

struct MenuWord {
  uint64_t offset;
  uint32_t MenuState::*field;
};

constexpr MenuWord kMenuWords[] = {
    {kActiveOrHudField, &MenuState::activeOrHud},
    {kPauseMenuField, &MenuState::pauseMenu},
    {kDialogField, &MenuState::dialog},
    {kLoadingOrUiField, &MenuState::loadingOrUi},
    {kModalOrDialogField, &MenuState::modalOrDialog},
    {kPostLoadField, &MenuState::postLoad},
    {kNpcMenuField, &MenuState::npcMenu},
};
constexpr uint64_t kMenuWordsBegin = kActiveOrHudField;
constexpr uint64_t kMenuWordsEnd = kNpcMenuField + sizeof(uint32_t);

bool ResolveArt(uint32_t artId, uint32_t* resolved) {
  // Never into a function whose address has not passed its check.
  if (!GameFunctionsUsable()) return false;
  const uint64_t lookup = ReadLink(PlayerGameData(), kArtLookupField);
  if (lookup == 0) return false;
  const auto resolve = reinterpret_cast<GameResolveArtFn>(GameModuleBase() + kGameResolveArtOffset);
  uint32_t id = artId;
  *resolved = resolve(reinterpret_cast<void*>(lookup + kArtLookupResolverArgument), &id);
  return true;
}

int EquipArt(EquipRequest* request, int mode) {
  if (!GameFunctionsUsable()) return 0;
  const auto equip = reinterpret_cast<GameEquipArtFn>(GameModuleBase() + kGameEquipArtOffset);
  return equip(1, request, mode);
}

}  // namespace

const GameCalls kGameCalls = {&ResolveArt, &EquipArt};

bool ReadMenuState(MenuState* state) {
  const uint64_t menu = MenuStateManagerPointer();
  if (menu == 0) return false;
  // The words lie in one object: one query for all of them where it can.
  const bool whole = IsReadable(menu + kMenuWordsBegin, kMenuWordsEnd - kMenuWordsBegin);
  for (const MenuWord& word : kMenuWords) {
    const uint64_t address = menu + word.offset;
    if (!whole && !IsReadable(address, sizeof(uint32_t))) return false;
    std::memcpy(&(state->*word.field), reinterpret_cast<const void*>(address), sizeof(uint32_t));
  }
  return true;
}

bool ReadEquippedArt(uint32_t* resolvedId) {
  const uint64_t player = PlayerGameData();
  return player != 0 && ReadU32IfReadable(player + kEquippedResolvedIdField, resolvedId);
}

bool ReadSelectedArt(uint32_t* resolvedId) {
  const uint64_t menu = MenuStateManagerPointer();
  return menu != 0 && ReadU32IfReadable(menu + kSelectedResolvedIdField, resolvedId);
}

}  // namespace artwheel
