#include <windows.h>

#include <atomic>

#include "base/patch.h"

namespace artwheel {

bool StoreCodePointer(void** entry, void* value, TableKind kind) {
  const DWORD writable = kind == TableKind::kImport ? PAGE_READWRITE : PAGE_EXECUTE_READWRITE;
  DWORD previous = 0;
  if (!VirtualProtect(entry, sizeof(void*), writable, &previous)) return false;
  // Other threads may call through the entry right now: they see the old or
  // the new pointer, never a torn one.
  std::atomic_ref<void*>(*entry).store(value, std::memory_order_release);
  DWORD ignored = 0;
  VirtualProtect(entry, sizeof(void*), previous, &ignored);
  FlushInstructionCache(GetCurrentProcess(), entry, sizeof(void*));
  return true;
}

}  // namespace artwheel
