#pragma once
// What a HudProbe snapshot holds: words of the menu-state object, of the
// objects its pointer slots lead to and of PlayerGameData; the pointer slots;
// the 8-byte slots of the game image's .data and .rdata; and the first words
// of the objects those slots point to.
#include <cstdint>

#include "base/memory.h"
#include "diagnostics/hud_sets.h"

namespace artwheel {

void CaptureSamples(HudSample* buffer, int* count, const char* label);
void CapturePointerOffsets(PointerOffsetSample* buffer, int* count);
void CollectGlobalPointers(GlobalPointerSample* buffer, int* count);
void CollectGlobalFields(GlobalFieldSample* buffer, int* count);

// A data slot is listed unless it holds a small non-zero integer (at most
// 0x10000) that is no object pointer.
bool IsListedSlot(uint64_t value, bool readable);

// Visits the readable 8-byte slots of the game image's .data and .rdata
// sections, in section and address order: visit(section, rva, value) returns
// false to end the walk. Visits nothing when the image's headers are not sound.
template <typename Visit>
void WalkDataSlots(Visit visit);

// ---------------------------------------------------------------------------

struct DataSection {
  char name[9];
  uint64_t start;
  uint32_t extent;
};

// The game image's base and NT headers when its DOS and NT headers are sound.
bool GameImageHeaders(uint64_t* base, uint64_t* ntHeaders);

// The accepted sections, at most `capacity`; returns how many.
int FindDataSections(DataSection* sections, int capacity, uint64_t* base);

template <typename Visit>
void WalkDataSlots(Visit visit) {
  DataSection sections[16];
  uint64_t base = 0;
  const int count = FindDataSections(sections, 16, &base);
  bool going = true;
  for (int s = 0; s < count && going; ++s) {
    const DataSection& section = sections[s];
    ForEachReadableWord<uint64_t>(
        section.start, section.extent, [&](uint32_t offset, uint64_t value) {
          going = visit(section.name, static_cast<uint32_t>(section.start + offset - base), value);
          return going;
        });
  }
}

}  // namespace artwheel
