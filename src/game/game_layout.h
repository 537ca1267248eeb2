#pragma once
// The host game's memory layout for the build that artwheel serves: offsets
// from the game's image base and from the objects its static pointers lead to.
#include <cstdint>

namespace artwheel {

inline constexpr uint64_t kGameDataManagerOffset = 0x3D5AAC0;
inline constexpr uint64_t kMenuStateManagerOffset = 0x3D67408;
inline constexpr uint64_t kGameResolveArtOffset = 0xC3D680;
inline constexpr uint64_t kGameEquipArtOffset = 0xD592F0;

// GameDataManager
inline constexpr uint64_t kPlayerGameDataField = 0x8;
// PlayerGameData
inline constexpr uint64_t kEquippedResolvedIdField = 0x2A0;
inline constexpr uint64_t kArtLookupField = 0x5B0;
inline constexpr uint64_t kArtLookupResolverArgument = 0x10;
// MenuStateManager
inline constexpr uint64_t kActiveOrHudField = 0x020;
inline constexpr uint64_t kPauseMenuField = 0x040;
inline constexpr uint64_t kDialogField = 0x044;
inline constexpr uint64_t kSelectedResolvedIdField = 0x13C;
inline constexpr uint64_t kLoadingOrUiField = 0x248;
inline constexpr uint64_t kModalOrDialogField = 0x26C;
inline constexpr uint64_t kPostLoadField = 0x278;
inline constexpr uint64_t kNpcMenuField = 0x3B8;

inline constexpr uint32_t kPauseMenuCombatArts = 2;

// Combat art ids the system knows: 5000, 5100, ... 9900.
inline constexpr uint32_t kFirstCombatArtId = 5000;
inline constexpr uint32_t kCombatArtIdStep = 100;
inline constexpr uint32_t kCombatArtIdEnd = 10000;
inline constexpr uint32_t kMaxResolvedId = 65535;

inline constexpr bool IsValidResolvedId(uint32_t resolved) {
  return resolved >= 1 && resolved <= kMaxResolvedId;
}

}  // namespace artwheel
