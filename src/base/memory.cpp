#include "base/memory.h"

#include <windows.h>

#include <atomic>
#include <cstring>

namespace artwheel {
namespace {

std::atomic<uint64_t> readabilityQueries{0};

}  // namespace

uint64_t ReadabilityQueryCount() { return readabilityQueries.load(std::memory_order_relaxed); }

bool ReadU32IfReadable(uint64_t address, uint32_t* value) {
  if (!IsReadable(address, sizeof *value)) return false;
  std::memcpy(value, reinterpret_cast<const void*>(address), sizeof *value);
  return true;
}

bool ReadU64IfReadable(uint64_t address, uint64_t* value) {
  if (!IsReadable(address, sizeof *value)) return false;
  std::memcpy(value, reinterpret_cast<const void*>(address), sizeof *value);
  return true;
}

bool IsReadable(uint64_t address, size_t size) {
  readabilityQueries.fetch_add(1, std::memory_order_relaxed);
  MEMORY_BASIC_INFORMATION info = {};
  if (VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof info) == 0) return false;
  if (info.State != MEM_COMMIT) return false;
  if ((info.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != 0) return false;
  const uint64_t regionEnd = reinterpret_cast<uint64_t>(info.BaseAddress) + info.RegionSize;
  return address + size >= address && address + size <= regionEnd;
}

bool QueryRegion(uint64_t address, MemoryRegion* region) {
  MEMORY_BASIC_INFORMATION info = {};
  if (VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof info) == 0) return false;
  region->begin = reinterpret_cast<uint64_t>(info.BaseAddress);
  region->end = region->begin + info.RegionSize;
  region->protection = info.Protect;
  region->committed = info.State == MEM_COMMIT;
  return true;
}

bool IsObjectPointer(uint64_t value) {
  return value != 0 && (value % 8) == 0 && IsReadable(value, 256);
}

}  // namespace artwheel
