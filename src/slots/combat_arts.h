#pragma once
// The host game's combat arts: which the save owns and which one is the
// menu's or the player's, asked of the game's resolver through GameCalls.
// Platform-free.
#include <cstdint>

#include "game/game_door.h"

namespace artwheel {

struct OwnedArt {
  uint32_t artId;
  uint32_t resolvedId;
};
inline constexpr int kOwnedArtCapacity = 64;

// Skill assignment mode: the combat-art menu is open (pauseMenu == 2).
bool InAssignmentMode(const MenuState& menu);

// True when the save owns the art; the resolved id is written when asked for.
bool ResolveCombatArt(const GameCalls& game, uint32_t artId, uint32_t* resolvedOut = nullptr);

// Known ids the save owns, ascending; the list must hold kOwnedArtCapacity entries.
int ListOwnedCombatArts(const GameCalls& game, OwnedArt* list);

bool FindArtIdByResolvedId(const GameCalls& game, uint32_t resolvedId, uint32_t* artIdOut);

}  // namespace artwheel
