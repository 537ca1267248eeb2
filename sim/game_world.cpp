#include "game_world.h"

#include <windows.h>

#include <cstring>

#include "game/game_layout.h"
#include "host_image.h"

namespace sim {
namespace {

namespace layout = artwheel;

constexpr int kMaxOwned = 128;
constexpr int kMaxEquipCalls = 256;

struct OwnedEntry {
  uint32_t artId;
  uint32_t resolvedId;
};

struct World {
  unsigned char* menuState = nullptr;
  unsigned char* gameData = nullptr;
  unsigned char* playerData = nullptr;
  unsigned char* artLookup = nullptr;
  SRWLOCK lock = SRWLOCK_INIT;
  OwnedEntry owned[kMaxOwned] = {};
  int ownedCount = 0;
  int32_t equipResult[2] = {1, 1};
  EquipCall calls[kMaxEquipCalls] = {};  // the first ones, for the results
  int callCount = 0;                     // all of them
  int equippedChanges = 0;               // successful calls that changed the equipped art
  long resolveCalls = 0;
  long resolveBadArgument = 0;
};

World world;

unsigned char* AllocateObject(size_t size) {
  return static_cast<unsigned char*>(
      VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

void Store32(unsigned char* object, uint64_t offset, uint32_t value) {
  std::memcpy(object + offset, &value, sizeof value);
}

void StorePtr(unsigned char* object, uint64_t offset, const void* value) {
  const uint64_t raw = reinterpret_cast<uint64_t>(value);
  std::memcpy(object + offset, &raw, sizeof raw);
}

uint32_t GameResolveArtStandIn(void* lookup, uint32_t* artId) {
  AcquireSRWLockExclusive(&world.lock);
  ++world.resolveCalls;
  if (lookup != world.artLookup + layout::kArtLookupResolverArgument) ++world.resolveBadArgument;
  uint32_t result = 0;
  for (int i = 0; i < world.ownedCount; ++i) {
    if (world.owned[i].artId == *artId) result = world.owned[i].resolvedId;
  }
  ReleaseSRWLockExclusive(&world.lock);
  return result;
}

int32_t GameEquipArtStandIn(int32_t first, void* request, int32_t mode) {
  uint32_t resolved = 0;
  std::memcpy(&resolved, static_cast<unsigned char*>(request) + 0x38, sizeof resolved);
  AcquireSRWLockExclusive(&world.lock);
  const int32_t result = (mode == 0 || mode == 1) ? world.equipResult[mode] : 0;
  if (world.callCount < kMaxEquipCalls) {
    world.calls[world.callCount] = EquipCall{first, mode, resolved, result};
  }
  ++world.callCount;
  if (result != 0 && resolved != EquippedResolvedId()) {
    ++world.equippedChanges;
    Store32(world.playerData, layout::kEquippedResolvedIdField, resolved);
  }
  ReleaseSRWLockExclusive(&world.lock);
  return result;
}

struct MenuField {
  const char* name;
  uint64_t offset;
};

constexpr MenuField kMenuFields[] = {
    {"activeOrHud", layout::kActiveOrHudField},
    {"pauseMenu", layout::kPauseMenuField},
    {"dialog", layout::kDialogField},
    {"selectedResolvedId", layout::kSelectedResolvedIdField},
    {"loadingOrUi", layout::kLoadingOrUiField},
    {"modalOrDialog", layout::kModalOrDialogField},
    {"postLoad", layout::kPostLoadField},
    {"npcMenu", layout::kNpcMenuField},
};

}  // namespace

bool CreateGameWorld() {
  world.menuState = AllocateObject(0x1000);
  world.gameData = AllocateObject(0x1000);
  world.playerData = AllocateObject(0x1000);
  world.artLookup = AllocateObject(0x1000);
  if (!world.menuState || !world.gameData || !world.playerData || !world.artLookup) return false;
  if (!PrepareHostImage(reinterpret_cast<void*>(&GameResolveArtStandIn),
                        reinterpret_cast<void*>(&GameEquipArtStandIn))) {
    return false;
  }
  SetArtLookupPresent(true);
  SetPlayerPresent(true);
  SetMenuPresent(true);
  SetGameDataManager(world.gameData);
  return true;
}

bool SetMenuField(const char* name, uint32_t value) {
  for (const MenuField& field : kMenuFields) {
    if (std::strcmp(field.name, name) == 0) {
      Store32(world.menuState, field.offset, value);
      return true;
    }
  }
  return false;
}

void SetEquippedResolvedId(uint32_t resolved) {
  Store32(world.playerData, layout::kEquippedResolvedIdField, resolved);
}

uint32_t EquippedResolvedId() {
  uint32_t value = 0;
  std::memcpy(&value, world.playerData + layout::kEquippedResolvedIdField, sizeof value);
  return value;
}

void SetPlayerPresent(bool present) {
  StorePtr(world.gameData, layout::kPlayerGameDataField, present ? world.playerData : nullptr);
}

void SetArtLookupPresent(bool present) {
  StorePtr(world.playerData, layout::kArtLookupField, present ? world.artLookup : nullptr);
}

void SetMenuPresent(bool present) { SetMenuStateManager(present ? world.menuState : nullptr); }

void SetOwnedArt(uint32_t artId, uint32_t resolvedId) {
  AcquireSRWLockExclusive(&world.lock);
  int at = 0;
  while (at < world.ownedCount && world.owned[at].artId != artId) ++at;
  if (at == world.ownedCount && world.ownedCount < kMaxOwned) ++world.ownedCount;
  if (at < world.ownedCount) world.owned[at] = OwnedEntry{artId, resolvedId};
  ReleaseSRWLockExclusive(&world.lock);
}

void SetEquipResult(int mode, int32_t result) {
  if (mode == 0 || mode == 1) world.equipResult[mode] = result;
}

unsigned char* MenuStateObject() { return world.menuState; }
unsigned char* PlayerDataObject() { return world.playerData; }

int EquipCallCount() {
  AcquireSRWLockShared(&world.lock);
  const int count = world.callCount;
  ReleaseSRWLockShared(&world.lock);
  return count;
}

void ReportEquips(std::FILE* results, const char* label) {
  AcquireSRWLockShared(&world.lock);
  std::fprintf(results, "equips %s calls=%d changes=%d\n", label, world.callCount,
               world.equippedChanges);
  ReleaseSRWLockShared(&world.lock);
}

void WriteRecordedCalls(std::FILE* results) {
  AcquireSRWLockShared(&world.lock);
  for (int i = 0; i < world.callCount && i < kMaxEquipCalls; ++i) {
    const EquipCall& call = world.calls[i];
    std::fprintf(results, "equip first=%d mode=%d resolved=%u result=%d\n", call.first, call.mode,
                 call.resolvedId, call.result);
  }
  std::fprintf(results, "resolve calls=%ld bad_argument=%ld\n", world.resolveCalls,
               world.resolveBadArgument);
  std::fprintf(results, "equipped resolved=%u\n", EquippedResolvedId());
  ReleaseSRWLockShared(&world.lock);
}

}  // namespace sim
