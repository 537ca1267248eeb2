#pragma once
// Safe looks at memory the library does not own.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace artwheel {

// True when the whole range lies in one committed region without NOACCESS or
// GUARD protection. Reads nothing itself.
bool IsReadable(uint64_t address, size_t size);

// Non-zero, 8-aligned, and 256 readable bytes behind it.
bool IsObjectPointer(uint64_t value);

// Reads the word only after IsReadable said it may; false otherwise.
bool ReadU32IfReadable(uint64_t address, uint32_t* value);
bool ReadU64IfReadable(uint64_t address, uint64_t* value);

// Calls visit(offset, value) for every readable word of [base, base + bytes),
// in order; visit returns false to stop. A range that lies in one readable
// region costs one query instead of one per word, with the same result.
template <typename Word, typename Visit>
void ForEachReadableWord(uint64_t base, uint64_t bytes, Visit visit) {
  const bool whole = IsReadable(base, static_cast<size_t>(bytes));
  for (uint64_t offset = 0; offset + sizeof(Word) <= bytes; offset += sizeof(Word)) {
    if (!whole && !IsReadable(base + offset, sizeof(Word))) continue;
    Word value{};
    std::memcpy(&value, reinterpret_cast<const void*>(base + offset), sizeof value);
    if (!visit(static_cast<uint32_t>(offset), value)) return;
  }
}

// One region as a memory query reports it: its bounds, whether it is
// committed, and its protection (the PAGE_ value).
struct MemoryRegion {
  uint64_t begin = 0;
  uint64_t end = 0;
  uint32_t protection = 0;
  bool committed = false;
};

// The region that holds `address`; false when the query fails.
bool QueryRegion(uint64_t address, MemoryRegion* region);

// How many readability queries were made since the process started (for the
// diagnostics' benchmarks: each is one VirtualQuery).
uint64_t ReadabilityQueryCount();

}  // namespace artwheel
