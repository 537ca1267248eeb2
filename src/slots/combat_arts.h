#pragma once
// The host game's combat arts: which the save owns, the one under the menu's
// cursor, and the game's two functions that resolve and equip them.
#include <cstdint>

namespace artwheel {

struct OwnedArt {
  uint32_t artId;
  uint32_t resolvedId;
};
inline constexpr int kOwnedArtCapacity = 64;

// Skill assignment mode: MenuStateManager.pauseMenu == 2.
bool ReadAssignmentMode();

// GameResolveArt through a fresh walk of the chain; false when a link is missing.
// `resolved` receives the game's raw answer, valid or not.
bool CallGameResolveArt(uint32_t artId, uint32_t* resolved);

// True when the save owns the art; the resolved id is written when asked for.
bool ResolveCombatArt(uint32_t artId, uint32_t* resolvedOut = nullptr);

// Known ids the save owns, ascending; the list must hold kOwnedArtCapacity entries.
int ListOwnedCombatArts(OwnedArt* list);

bool FindArtIdByResolvedId(uint32_t resolvedId, uint32_t* artIdOut);

// GameEquipArt(1, request, mode); non-zero is success.
int CallGameEquipArt(void* request, int mode);

}  // namespace artwheel
