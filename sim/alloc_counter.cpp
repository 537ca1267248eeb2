#include "alloc_counter.h"

#include <windows.h>

#include <atomic>
#include <iterator>

#include "product_imports.h"

namespace sim {
namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

using MallocFn = void*(__cdecl*)(size_t);
using CallocFn = void*(__cdecl*)(size_t, size_t);
using ReallocFn = void*(__cdecl*)(void*, size_t);
using StrdupFn = char*(__cdecl*)(const char*);
using HeapAllocFn = LPVOID(WINAPI*)(HANDLE, DWORD, SIZE_T);
using HeapReAllocFn = LPVOID(WINAPI*)(HANDLE, DWORD, LPVOID, SIZE_T);

MallocFn realMalloc = nullptr;
CallocFn realCalloc = nullptr;
ReallocFn realRealloc = nullptr;
StrdupFn realStrdup = nullptr;
HeapAllocFn realHeapAlloc = nullptr;
HeapReAllocFn realHeapReAlloc = nullptr;

void Count() {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
}

void* __cdecl CountingMalloc(size_t size) {
  Count();
  return realMalloc(size);
}
void* __cdecl CountingCalloc(size_t count, size_t size) {
  Count();
  return realCalloc(count, size);
}
void* __cdecl CountingRealloc(void* block, size_t size) {
  Count();
  return realRealloc(block, size);
}
char* __cdecl CountingStrdup(const char* text) {
  Count();
  return realStrdup(text);
}
LPVOID WINAPI CountingHeapAlloc(HANDLE heap, DWORD flags, SIZE_T size) {
  Count();
  return realHeapAlloc(heap, flags, size);
}
LPVOID WINAPI CountingHeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T size) {
  Count();
  return realHeapReAlloc(heap, flags, block, size);
}

ImportReplacement replacements[] = {
    {"malloc", reinterpret_cast<void*>(&CountingMalloc), reinterpret_cast<void**>(&realMalloc)},
    {"calloc", reinterpret_cast<void*>(&CountingCalloc), reinterpret_cast<void**>(&realCalloc)},
    {"realloc", reinterpret_cast<void*>(&CountingRealloc), reinterpret_cast<void**>(&realRealloc)},
    {"_strdup", reinterpret_cast<void*>(&CountingStrdup), reinterpret_cast<void**>(&realStrdup)},
    {"HeapAlloc", reinterpret_cast<void*>(&CountingHeapAlloc),
     reinterpret_cast<void**>(&realHeapAlloc)},
    {"HeapReAlloc", reinterpret_cast<void*>(&CountingHeapReAlloc),
     reinterpret_cast<void**>(&realHeapReAlloc)},
};

}  // namespace

void StartCountingAllocations(std::FILE* results) {
  static int redirected = -1;
  if (redirected < 0) {
    redirected = RedirectProductImports(replacements, static_cast<int>(std::size(replacements)));
  }
  allocations.store(0);
  counting.store(true);
  std::fprintf(results, "allocations counting imports=%d\n", redirected);
}

void StopCountingAllocations(std::FILE* results, const char* label) {
  counting.store(false);
  std::fprintf(results, "allocations %s %ld\n", label, allocations.load());
}

}  // namespace sim
