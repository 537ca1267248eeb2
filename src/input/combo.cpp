#include "input/combo.h"

namespace artwheel {

ComboGuard comboGuard;

int DecodeCombination(uint16_t buttons) {
  if ((buttons & kButtonDpadDown) == 0) return kNoSlot;
  if (buttons & kButtonY) return 0;
  if (buttons & kButtonA) return 1;
  if (buttons & kButtonB) return 2;
  if (buttons & kButtonX) return 3;
  return kNoSlot;
}

bool IsCombinationHeld(uint16_t buttons) {
  return (buttons & kButtonDpadDown) != 0 && (buttons & kFaceButtons) != 0;
}

bool IsHeldButtonDown(uint16_t buttons) { return (buttons & kButtonDpadDown) != 0; }

void ArmComboGuardAt(ComboGuard& guard, uint64_t now) {
  guard.suppressActive.store(true, std::memory_order_relaxed);
  guard.suppressUntil.store(now + kComboSuppressMs, std::memory_order_relaxed);
}

void ReleaseComboGuardIfClear(ComboGuard& guard, uint16_t buttons) {
  if ((buttons & kComboButtons) == 0 && guard.suppressActive.load(std::memory_order_relaxed)) {
    guard.suppressActive.store(false, std::memory_order_relaxed);
  }
}

bool IsSuppressingAt(const ComboGuard& guard, uint64_t now) {
  return guard.suppressActive.load(std::memory_order_relaxed) ||
         now < guard.suppressUntil.load(std::memory_order_relaxed);
}

}  // namespace artwheel
