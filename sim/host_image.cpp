#include "host_image.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "game/game_layout.h"

namespace sim {
namespace {

// Zero-initialised, so it costs nothing in the file but spans the image up to
// beyond the highest offset the game's layout uses. The small build's image
// ends before the static pointers, and its GameEquipArt is no code: a game
// build whose layout fails artwheel's address checks.
#ifdef SIM_SMALL_IMAGE
constexpr size_t kReservedSize = 0x3000000;
constexpr bool kSmallImage = true;
#else
constexpr size_t kReservedSize = 0x3E00000;
constexpr bool kSmallImage = false;
#endif
alignas(4096) unsigned char hostImage[kReservedSize];

bool InsideReservedBlock(uint64_t offset, size_t size) {
  const uint64_t begin = reinterpret_cast<uint64_t>(hostImage);
  const uint64_t address = ImageBase() + offset;
  return address >= begin && address + size <= begin + kReservedSize;
}

// movabs rax, target; jmp rax
bool WriteJump(uint64_t offset, void* target) {
  unsigned char code[12] = {0x48, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xE0};
  const uint64_t address = reinterpret_cast<uint64_t>(target);
  std::memcpy(code + 2, &address, sizeof address);
  void* at = reinterpret_cast<void*>(ImageBase() + offset);
  DWORD old = 0;
  if (!VirtualProtect(at, sizeof code, PAGE_EXECUTE_READWRITE, &old)) return false;
  std::memcpy(at, code, sizeof code);
  FlushInstructionCache(GetCurrentProcess(), at, sizeof code);
  return true;
}

void StorePointer(uint64_t offset, void* object) {
  if (!InsideReservedBlock(offset, sizeof(void*))) return;  // the small image has no such variable
  const uint64_t value = reinterpret_cast<uint64_t>(object);
  std::memcpy(reinterpret_cast<void*>(ImageBase() + offset), &value, sizeof value);
}

}  // namespace

uint64_t ImageBase() { return reinterpret_cast<uint64_t>(GetModuleHandleA(nullptr)); }

bool PrepareHostImage(void* resolveArt, void* equipArt) {
  struct Need {
    uint64_t offset;
    size_t size;
    const char* what;
  };
  const Need needs[] = {{artwheel::kGameDataManagerOffset, 8, "GameDataManager pointer"},
                        {artwheel::kMenuStateManagerOffset, 8, "MenuStateManager pointer"},
                        {artwheel::kGameResolveArtOffset, 12, "GameResolveArt code"},
                        {artwheel::kGameEquipArtOffset, 12, "GameEquipArt code"}};
  for (const Need& need : needs) {
    if (!InsideReservedBlock(need.offset, need.size) && !kSmallImage) {
      std::fprintf(stderr,
                   "sim: image layout does not hold: %s at base+0x%llX is outside the block\n",
                   need.what, static_cast<unsigned long long>(need.offset));
      return false;
    }
  }
  if (!WriteJump(artwheel::kGameResolveArtOffset, resolveArt) ||
      (!kSmallImage && !WriteJump(artwheel::kGameEquipArtOffset, equipArt))) {
    std::fprintf(stderr, "sim: could not write the game function stubs (error %lu)\n",
                 GetLastError());
    return false;
  }
  return true;
}

void SetGameDataManager(void* object) { StorePointer(artwheel::kGameDataManagerOffset, object); }

void SetMenuStateManager(void* object) { StorePointer(artwheel::kMenuStateManagerOffset, object); }

}  // namespace sim
