#pragma once
// Counts the heap allocations that artwheel's DLL makes, by redirecting its
// own imports of the C runtime's and kernel32's allocators.
#include <cstdio>

namespace sim {

void StartCountingAllocations(std::FILE* results);
void StopCountingAllocations(std::FILE* results, const char* label);

}  // namespace sim
