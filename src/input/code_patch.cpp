#include "input/code_patch.h"

#include <atomic>

namespace artwheel {

bool PatchCodePointer(void** slot, void* value, DWORD protection) {
  DWORD previous = 0;
  if (!VirtualProtect(slot, sizeof(void*), protection, &previous)) return false;
  // Other threads may call through the slot right now: they see the old or the
  // new pointer, never a torn one.
  std::atomic_ref<void*>(*slot).store(value, std::memory_order_release);
  DWORD ignored = 0;
  VirtualProtect(slot, sizeof(void*), previous, &ignored);
  FlushInstructionCache(GetCurrentProcess(), slot, sizeof(void*));
  return true;
}

}  // namespace artwheel
