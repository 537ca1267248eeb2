#include "hud_world.h"

#include <windows.h>

#include <cstring>

#include "game_world.h"

// The game image's own data: .data slots the scripts fill, and .rdata slots
// that hold 0, a small unreadable address (0xFFF8; Wine maps 0x10000 itself,
// so that value would read as an object), 0x10001 and a pointer to an object in .data.
extern "C" {
__declspec(dllexport) uint64_t SimDataSlots[70000] = {1};
__declspec(dllexport) uint32_t SimDataObject[128] = {7};
__declspec(dllexport) extern const uint64_t SimRdataInts[4];
const uint64_t SimRdataInts[4] = {0, 0xFFF8, 0x10001, 5};
__declspec(dllexport) extern const void* const SimRdataPointers[2];
const void* const SimRdataPointers[2] = {SimDataObject, nullptr};
}

namespace sim {
namespace {

constexpr uint32_t kObjectBytes = 512;
constexpr uint32_t kPooledObjects = 128;
constexpr uint32_t kMaxPointedSlots = 4000;
constexpr uint32_t kFloatOne = 0x3F800000;

unsigned char* objectPool = nullptr;   // objects for the menu-state slots
unsigned char* slotObjects = nullptr;  // objects for the data slots
unsigned char* noAccessPage = nullptr;
uint32_t pointedSlots = 0;

unsigned char* PoolObject(uint32_t number) {
  return objectPool + (number % kPooledObjects) * kObjectBytes;
}

void Store32(unsigned char* at, uint32_t value) { std::memcpy(at, &value, 4); }
void StorePointer(unsigned char* at, const void* value) {
  const uint64_t raw = reinterpret_cast<uint64_t>(value);
  std::memcpy(at, &raw, 8);
}

void MarkSlotObjects(bool visible) {
  for (uint32_t i = 0; i < pointedSlots; ++i) {
    unsigned char* object = slotObjects + static_cast<size_t>(i) * kObjectBytes;
    Store32(object + 4, visible ? 1 : 0);
    Store32(object + 8, visible ? kFloatOne : 0);
  }
  SimDataObject[1] = visible ? 1 : 0;
  SimDataObject[2] = visible ? kFloatOne : 0;
}

}  // namespace

void PrepareHudWorld() {
  objectPool = static_cast<unsigned char*>(VirtualAlloc(nullptr, kPooledObjects * kObjectBytes,
                                                        MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  slotObjects = static_cast<unsigned char*>(VirtualAlloc(
      nullptr, size_t(kMaxPointedSlots) * kObjectBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  noAccessPage = static_cast<unsigned char*>(
      VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_NOACCESS));
  for (uint32_t i = 0; i < kPooledObjects; ++i) Store32(PoolObject(i), 0xA000 + i);
  for (uint64_t& slot : SimDataSlots) slot = 1;  // not listed until a script says so
}

void SetHudVisible(bool visible) {
  SetMenuWords(0x064, 1, visible ? 1 : 0);
  SetMenuWords(0x2F4, 1, visible ? kFloatOne : 0);
  SetMenuSlot(0x0F8, visible ? "object" : "null", 1);
  SetMenuSlot(0x100, visible ? "object" : "noaccess", 2);
  MarkSlotObjects(visible);
}

void SetGlobalSlots(std::FILE* results, uint32_t listed, uint32_t pointed) {
  const uint32_t total = sizeof SimDataSlots / sizeof SimDataSlots[0];
  if (listed > total) listed = total;
  if (pointed > listed) pointed = listed;
  if (pointed > kMaxPointedSlots) pointed = kMaxPointedSlots;
  pointedSlots = pointed;
  for (uint32_t i = 0; i < total; ++i) {
    SimDataSlots[i] = i < pointed
                          ? reinterpret_cast<uint64_t>(slotObjects + size_t(i) * kObjectBytes)
                      : i < listed ? 0
                                   : 1;
  }
  for (uint32_t i = 0; i < pointed * kObjectBytes / 4; ++i) {
    Store32(slotObjects + size_t(i) * 4, 0x50000 + i);
  }
  std::fprintf(results, "globalslots listed=%u pointed=%u\n", listed, pointed);
}

void SetMenuSlot(uint32_t offset, const char* target, uint32_t objectNumber) {
  unsigned char* menu = MenuStateObject();
  if (std::strcmp(target, "null") == 0) {
    StorePointer(menu + offset, nullptr);
  } else if (std::strcmp(target, "noaccess") == 0) {
    StorePointer(menu + offset, noAccessPage);
  } else {
    StorePointer(menu + offset, PoolObject(objectNumber));
  }
}

void WriteObjectAddress(std::FILE* results, uint32_t objectNumber) {
  std::fprintf(results, "object %u %p\n", objectNumber,
               static_cast<void*>(PoolObject(objectNumber)));
}

void SetObjectWords(uint32_t objectNumber, uint32_t offset, uint32_t count, uint32_t value) {
  for (uint32_t i = 0; i < count && offset + 4 * i + 4 <= kObjectBytes; ++i) {
    Store32(PoolObject(objectNumber) + offset + 4 * i, value);
  }
}

void SetMenuWords(uint32_t offset, uint32_t count, uint32_t value) {
  for (uint32_t i = 0; i < count && offset + 4 * i + 4 <= 0x1000; ++i) {
    Store32(MenuStateObject() + offset + 4 * i, value);
  }
}

void SetPlayerWords(uint32_t offset, uint32_t count, uint32_t value) {
  for (uint32_t i = 0; i < count && offset + 4 * i + 4 <= 0x1000; ++i) {
    Store32(PlayerDataObject() + offset + 4 * i, value);
  }
}

}  // namespace sim
