#pragma once
// The one door to the game's memory for what the system decides on: typed
// reads of the equipped art, the combat-art menu's cursor and the menu state,
// and the game's two functions. Each read, and each walk to a call's argument,
// asks IsReadable before it reads; what cannot be read is a false, never a
// fault. Every read and call walks again from the static pointers; no game
// pointer is kept. The declarations are platform-free, so that decisions that
// take these values and GameCalls run natively against a stand-in.
#include <cstddef>
#include <cstdint>

namespace artwheel {

// The MenuStateManager words the slots look at.
struct MenuState {
  uint32_t activeOrHud = 0;
  uint32_t pauseMenu = 0;
  uint32_t dialog = 0;
  uint32_t loadingOrUi = 0;
  uint32_t modalOrDialog = 0;
  uint32_t postLoad = 0;
  uint32_t npcMenu = 0;
};

// False while the manager is missing or any of its words cannot be read.
bool ReadMenuState(MenuState* state);
// The player's equipped art (resolved id); false while no save is loaded.
bool ReadEquippedArt(uint32_t* resolvedId);
// The resolved id under the combat-art menu's cursor.
bool ReadSelectedArt(uint32_t* resolvedId);

// The request block the game's equip function takes; only the resolved id is set.
struct EquipRequest {
  uint8_t reserved[0x38];
  uint32_t resolvedId;
  uint32_t tail;
};
static_assert(sizeof(EquipRequest) == 64, "the game reads 64 bytes");
static_assert(offsetof(EquipRequest, resolvedId) == 0x38, "resolved id at 0x38");

// The game's two functions, each called only once its address passed its check.
struct GameCalls {
  // GameResolveArt: `resolved` receives the game's raw answer, valid or not;
  // false (no call) while a link to its argument is missing or unreadable.
  bool (*resolveArt)(uint32_t artId, uint32_t* resolved);
  // GameEquipArt(1, request, mode); non-zero is success.
  int (*equipArt)(EquipRequest* request, int mode);
};

// The game's own (game_door.cpp).
extern const GameCalls kGameCalls;

}  // namespace artwheel
