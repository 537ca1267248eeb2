#pragma once
// Reads of the host game's objects and calls of its two functions. Every
// operation walks again from the static pointers; no game pointer is kept.
#include <cstdint>

namespace artwheel {

struct OwnedArt {
  uint32_t artId;
  uint32_t resolvedId;
};
inline constexpr int kOwnedArtCapacity = 64;

// The host image's base, asked again while it is still unknown; 0 when unavailable.
uint64_t GameModuleBase();

uint64_t LoadGamePointer(uint64_t address);
uint64_t MenuStateManagerPointer();  // 0 when missing
uint64_t PlayerGameDataPointer();    // 0 when any link is missing

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
