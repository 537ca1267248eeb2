#include "alloc_counter.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace sim {
namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

using MallocFn = void*(__cdecl*)(size_t);
using CallocFn = void*(__cdecl*)(size_t, size_t);
using ReallocFn = void*(__cdecl*)(void*, size_t);
using HeapAllocFn = LPVOID(WINAPI*)(HANDLE, DWORD, SIZE_T);
using HeapReAllocFn = LPVOID(WINAPI*)(HANDLE, DWORD, LPVOID, SIZE_T);

MallocFn realMalloc = nullptr;
CallocFn realCalloc = nullptr;
ReallocFn realRealloc = nullptr;
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
LPVOID WINAPI CountingHeapAlloc(HANDLE heap, DWORD flags, SIZE_T size) {
  Count();
  return realHeapAlloc(heap, flags, size);
}
LPVOID WINAPI CountingHeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T size) {
  Count();
  return realHeapReAlloc(heap, flags, block, size);
}

struct Replacement {
  const char* name;
  void* counting;
  void** real;
};

Replacement replacements[] = {
    {"malloc", reinterpret_cast<void*>(&CountingMalloc), reinterpret_cast<void**>(&realMalloc)},
    {"calloc", reinterpret_cast<void*>(&CountingCalloc), reinterpret_cast<void**>(&realCalloc)},
    {"realloc", reinterpret_cast<void*>(&CountingRealloc), reinterpret_cast<void**>(&realRealloc)},
    {"HeapAlloc", reinterpret_cast<void*>(&CountingHeapAlloc),
     reinterpret_cast<void**>(&realHeapAlloc)},
    {"HeapReAlloc", reinterpret_cast<void*>(&CountingHeapReAlloc),
     reinterpret_cast<void**>(&realHeapReAlloc)},
};

// The artwheel DLL of the game's folder.
HMODULE ProductModule() {
  char path[MAX_PATH];
  if (GetFullPathNameA("dinput8.dll", sizeof path, path, nullptr) == 0) return nullptr;
  return GetModuleHandleA(path);
}

int RedirectImports(HMODULE module) {
  auto* base = reinterpret_cast<unsigned char*>(module);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS64*>(
      base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const DWORD rva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  int redirected = 0;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + rva); rva != 0 && d->Name != 0;
       ++d) {
    auto* names = reinterpret_cast<ULONGLONG*>(base + d->OriginalFirstThunk);
    auto** slots = reinterpret_cast<void**>(base + d->FirstThunk);
    for (; *names != 0; ++names, ++slots) {
      if (*names & IMAGE_ORDINAL_FLAG64) continue;
      const char* name = reinterpret_cast<const char*>(base + *names + 2);
      for (Replacement& r : replacements) {
        if (std::strcmp(name, r.name) != 0 || *slots == r.counting) continue;
        *r.real = *slots;
        DWORD old = 0;
        VirtualProtect(slots, sizeof(void*), PAGE_READWRITE, &old);
        *slots = r.counting;
        VirtualProtect(slots, sizeof(void*), old, &old);
        ++redirected;
      }
    }
  }
  return redirected;
}

}  // namespace

void StartCountingAllocations(std::FILE* results) {
  static int redirected = -1;
  if (redirected < 0) {
    HMODULE product = ProductModule();
    redirected = product != nullptr ? RedirectImports(product) : 0;
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
