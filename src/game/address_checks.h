#pragma once
// Whether a game address may be used, decided from what a memory query says of
// its region: the pages count, not the section names. Platform-free.
#include <cstddef>
#include <cstdint>

#include "base/memory.h"

namespace artwheel {

// A static pointer variable is read and may be written by the game; a game
// function is called and its first bytes are read for the log.
enum class AddressUse { kPointerVariable, kCode };

struct ImageRange {
  uint64_t begin = 0;
  uint64_t end = 0;  // exclusive: base + SizeOfImage
};

// True when [address, address + size) lies inside both the region and the
// image, the region is committed, and its protection suits the use (writable
// for a pointer variable, executable for code; never guarded or no-access).
bool RegionServes(const MemoryRegion& region, AddressUse use, uint64_t address, uint64_t size,
                  ImageRange image);

// The file version from a version resource's bytes (the fixed part found by its
// signature), as four parts major, minor, build, revision; false when absent.
bool FindFileVersion(const uint8_t* resource, size_t size, uint16_t parts[4]);

// `count` bytes as lower-case hex without separators; false when `out` is too small.
bool FormatHexBytes(const uint8_t* bytes, size_t count, char* out, size_t outSize);

}  // namespace artwheel
