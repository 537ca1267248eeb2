#pragma once
// Safe looks at memory the library does not own.
#include <cstddef>
#include <cstdint>

namespace artwheel {

// True when the whole range lies in one committed region without NOACCESS or
// GUARD protection. Reads nothing itself.
bool IsReadable(uint64_t address, size_t size);

// Non-zero, 8-aligned, and 256 readable bytes behind it.
bool IsObjectPointer(uint64_t value);

// Reads the word only after IsReadable said it may; false otherwise.
bool ReadU32IfReadable(uint64_t address, uint32_t* value);
bool ReadU64IfReadable(uint64_t address, uint64_t* value);

// How many readability queries were made since the process started (for the
// diagnostics' benchmarks: each is one VirtualQuery).
uint64_t ReadabilityQueryCount();

}  // namespace artwheel
