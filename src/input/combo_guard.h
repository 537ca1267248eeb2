#pragma once
// ComboGuard on the real clock.
#include <windows.h>

#include "input/combo.h"

namespace artwheel {

inline void ArmComboGuard() { ArmComboGuardAt(comboGuard, GetTickCount64()); }

inline bool IsSuppressing(uint64_t now) { return IsSuppressingAt(comboGuard, now); }

}  // namespace artwheel
