#pragma once
// What a slot action does with the game, decided from the values read through
// the game's door and the answers of its two functions. Platform-free: the
// worker's glue (equip.cpp, assign.cpp) reads, calls through kGameCalls and
// logs; the tests call through a stand-in.
#include <cstdint>

#include "game/game_door.h"

namespace artwheel {

enum class EquipOutcome {
  kEmpty,            // the slot holds 0: no call
  kNotOwned,         // the resolver does not know the art in this save
  kAlreadyEquipped,  // the player has it equipped
  kNotResolved,      // the resolver refused it for the request after all
  kEquipped,         // mode 0 (or, after it failed, mode 1) succeeded
  kFailed,           // both modes failed
};

// Equips the slot's art: the resolver is asked afresh for ownership, for the
// already-equipped test and for the request, then mode 0, and mode 1 only
// after mode 0 failed. `equipped` is the player's equipped art as read, null
// while no save is loaded.
EquipOutcome EquipArt(const GameCalls& game, uint32_t artId, const uint32_t* equipped);

// The combat art under the combat-art menu's cursor, found for a slot.
struct Assignment {
  int slot;
  uint32_t artId;
  uint32_t resolvedId;
};

// The art of the menu's cursor (`selected`, null when it could not be read)
// among the save's known arts; false when it is not one of them.
bool FindAssignment(const GameCalls& game, int slot, const uint32_t* selected,
                    Assignment* assignment);

}  // namespace artwheel
