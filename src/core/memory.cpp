#include "core/memory.h"

#include <windows.h>

namespace artwheel {

bool IsReadable(uint64_t address, size_t size) {
  MEMORY_BASIC_INFORMATION info = {};
  if (VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof info) == 0) return false;
  if (info.State != MEM_COMMIT) return false;
  if ((info.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != 0) return false;
  const uint64_t regionEnd = reinterpret_cast<uint64_t>(info.BaseAddress) + info.RegionSize;
  return address + size >= address && address + size <= regionEnd;
}

bool IsObjectPointer(uint64_t value) {
  return value != 0 && (value % 8) == 0 && IsReadable(value, 256);
}

}  // namespace artwheel
