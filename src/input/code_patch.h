#pragma once
// Replacing one code pointer in another module's table: an import address
// table entry or an interface's method table slot.
#include <windows.h>

namespace artwheel {

// Makes the 8 bytes writable with `protection`, stores `value` in one aligned
// store, restores the old protection and flushes the instruction cache. False
// (and nothing changed) when the protection change is refused.
bool PatchCodePointer(void** slot, void* value, DWORD protection);

}  // namespace artwheel
