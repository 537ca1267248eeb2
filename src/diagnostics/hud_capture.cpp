#include "diagnostics/hud_capture.h"

#include <windows.h>

#include <cstring>

#include "base/log.h"
#include "base/memory.h"
#include "base/pe_image.h"
#include "base/text_format.h"
#include "diagnostics/game_objects.h"
#include "game/game_memory.h"

namespace artwheel {
namespace {

constexpr uint32_t kMenuWords = 0x500;
constexpr uint32_t kSampleSlotEnd = 0x300;
constexpr uint32_t kSampleObjectBytes = 0x400;
constexpr uint32_t kPointerSlotEnd = 0x500;
constexpr uint32_t kPlayerWords = 0x500;
constexpr uint32_t kFieldObjectBytes = 0x200;
constexpr uint32_t kNeverFollowedSlot = 0x008;

// Appends the readable words of the object while there is room; the walk goes
// on (and drops) past the capacity.
void AppendSamples(HudSample* buffer, int* count, uint64_t object, uint32_t bytes,
                   const char* prefix) {
  ForEachReadableWord<uint32_t>(object, bytes, [&](uint32_t offset, uint32_t value) {
    if (*count >= kMaxHudSamples) return true;
    HudSample& sample = buffer[(*count)++];
    sample.address = object + offset;
    sample.value = value;
    FormatText(sample.label, sizeof sample.label, "%s+0x%03X", prefix, offset);
    return true;
  });
}

bool AcceptSection(const IMAGE_SECTION_HEADER& header, char (&name)[9]) {
  std::memcpy(name, header.Name, 8);
  name[8] = '\0';
  const DWORD flags = header.Characteristics;
  return (flags & IMAGE_SCN_MEM_READ) != 0 && (flags & IMAGE_SCN_CNT_UNINITIALIZED_DATA) == 0 &&
         (std::strcmp(name, ".data") == 0 || std::strcmp(name, ".rdata") == 0);
}

}  // namespace

bool GameImageHeaders(uint64_t* baseOut, uint64_t* ntHeaders) {
  const uint64_t base = GameModuleBase();
  const IMAGE_NT_HEADERS64* nt = ReadableImageNtHeaders(base);
  if (nt == nullptr) return false;
  *baseOut = base;
  *ntHeaders = reinterpret_cast<uint64_t>(nt);
  return true;
}

int FindDataSections(DataSection* sections, int capacity, uint64_t* baseOut) {
  uint64_t base = 0;
  uint64_t ntAddress = 0;
  *baseOut = 0;
  if (!GameImageHeaders(&base, &ntAddress) || capacity <= 0) return 0;
  *baseOut = base;
  struct Found {
    DataSection* sections;
    int capacity;
    int count;
    uint64_t base;
  } found{sections, capacity, 0, base};
  ForEachReadableSection(
      reinterpret_cast<const IMAGE_NT_HEADERS64*>(ntAddress),
      [](const IMAGE_SECTION_HEADER& header, void* context) {
        auto& f = *static_cast<Found*>(context);
        DataSection& section = f.sections[f.count];
        if (!AcceptSection(header, section.name)) return true;
        section.start = f.base + header.VirtualAddress;
        section.extent =
            header.Misc.VirtualSize != 0 ? header.Misc.VirtualSize : header.SizeOfRawData;
        return ++f.count < f.capacity;
      },
      &found);
  return found.count;
}

bool IsListedSlot(uint64_t value, bool readable) {
  return !(value != 0 && value <= 0x10000 && !readable);
}

void CaptureSamples(HudSample* buffer, int* count, const char* label) {
  if (buffer == nullptr || count == nullptr || label == nullptr) return;
  *count = 0;
  if (GameModuleBase() == 0) return;
  if (const uint64_t menu = ReachableMenuState()) {
    AppendSamples(buffer, count, menu, kMenuWords, "MenuState");
    for (uint32_t slot = 0; slot <= kSampleSlotEnd; slot += 8) {
      uint64_t object = 0;
      if (slot == kNeverFollowedSlot || !ReadU64IfReadable(menu + slot, &object) ||
          !IsObjectPointer(object)) {
        continue;
      }
      char prefix[48];
      FormatText(prefix, sizeof prefix, "MenuState+0x%03X->", slot);
      AppendSamples(buffer, count, object, kSampleObjectBytes, prefix);
    }
  }
  if (const uint64_t player = ReachablePlayerData()) {
    AppendSamples(buffer, count, player, kPlayerWords, "PlayerGameData");
  }
  WriteLogFormat("[HudProbe] Captured %s snapshot with %d samples", label, *count);
}

void CapturePointerOffsets(PointerOffsetSample* buffer, int* count) {
  *count = 0;
  const uint64_t menu = GameModuleBase() != 0 ? ReachableMenuState() : 0;
  if (menu == 0) return;
  for (uint32_t slot = 0; slot <= kPointerSlotEnd && *count < kMaxPointerOffsets; slot += 8) {
    uint64_t value = 0;
    if (!ReadU64IfReadable(menu + slot, &value)) continue;
    buffer[(*count)++] = PointerOffsetSample{slot, value, IsObjectPointer(value)};
  }
}

void CollectGlobalPointers(GlobalPointerSample* buffer, int* count) {
  *count = 0;
  WalkDataSlots([&](const char*, uint32_t rva, uint64_t value) {
    if (*count >= kMaxGlobalPointers) return false;
    const bool readable = IsObjectPointer(value);
    if (IsListedSlot(value, readable))
      buffer[(*count)++] = GlobalPointerSample{rva, value, readable};
    return true;
  });
}

void CollectGlobalFields(GlobalFieldSample* buffer, int* count) {
  *count = 0;
  // A (slot, offset) pair enters once: two slots of one RVA cannot exist, but
  // the index keeps the rule whatever the walk meets, in O(1) per word.
  hudKeyIndex.Reset(kMaxGlobalFields);
  auto keyOf = [buffer](uint32_t i) { return FieldKey(buffer[i].ptrRva, buffer[i].offset); };
  WalkDataSlots([&](const char*, uint32_t rva, uint64_t value) {
    if (*count >= kMaxGlobalFields) return false;
    if (!IsObjectPointer(value)) return true;
    ForEachReadableWord<uint32_t>(value, kFieldObjectBytes, [&](uint32_t offset, uint32_t word) {
      if (*count >= kMaxGlobalFields) return false;
      buffer[*count] = GlobalFieldSample{rva, offset, word};
      if (hudKeyIndex.Insert(FieldKey(rva, offset), static_cast<uint32_t>(*count), keyOf)) ++*count;
      return true;
    });
    return true;
  });
}

}  // namespace artwheel
