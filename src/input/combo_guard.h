#pragma once
// ComboGuard on the real clock.
#include <windows.h>

#include "input/combo.h"

namespace artwheel {

inline void ArmComboGuard(int pad) { ArmComboGuardAt(comboGuards[pad], GetTickCount64()); }

inline bool IsSuppressing(uint64_t now) { return IsAnySuppressingAt(comboGuards, now); }

}  // namespace artwheel
