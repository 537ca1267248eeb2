#pragma once
// The game's objects and its two functions, as far as artwheel sees them.
#include <cstdint>
#include <cstdio>

namespace sim {

struct EquipCall {
  int32_t first;
  int32_t mode;
  uint32_t resolvedId;
  int32_t result;
};

// Allocates the objects, wires the static pointers and writes the function stubs.
bool CreateGameWorld();

// Menu-state field by its name ("pauseMenu", "dialog", ...); false for an unknown name.
bool SetMenuField(const char* name, uint32_t value);
void SetEquippedResolvedId(uint32_t resolved);
uint32_t EquippedResolvedId();
void SetPlayerPresent(bool present);     // GameDataManager -> PlayerGameData
void SetArtLookupPresent(bool present);  // PlayerGameData.artLookup
void SetMenuPresent(bool present);       // the MenuStateManager static pointer
// What GameResolveArt answers for an id; 0 removes it.
void SetOwnedArt(uint32_t artId, uint32_t resolvedId);
void SetEquipResult(int mode, int32_t result);

// Every call of the equip function, also past the first 256 that the results list.
int EquipCallCount();
// One line: the equip calls so far and how many of them changed the equipped art.
void ReportEquips(std::FILE* results, const char* label);

// The objects themselves, for the diagnostics' scripts.
unsigned char* MenuStateObject();
unsigned char* PlayerDataObject();
void WriteRecordedCalls(std::FILE* results);

}  // namespace sim
