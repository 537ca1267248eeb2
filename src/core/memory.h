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

}  // namespace artwheel
