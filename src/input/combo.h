#pragma once
// Controller combinations (D-pad Down + Y/A/B/X) and the guard that hides their
// buttons from the game. Platform-free: every time is passed in, in
// GetTickCount64 milliseconds.
#include <atomic>
#include <cstdint>

namespace artwheel {

inline constexpr uint16_t kButtonDpadDown = 0x0002;
inline constexpr uint16_t kButtonA = 0x1000;
inline constexpr uint16_t kButtonB = 0x2000;
inline constexpr uint16_t kButtonX = 0x4000;
inline constexpr uint16_t kButtonY = 0x8000;
inline constexpr uint16_t kFaceButtons = 0xF000;
inline constexpr uint16_t kComboButtons = 0xF002;
inline constexpr uint16_t kComboKeepMask = 0x0FFD;
inline constexpr uint64_t kComboSuppressMs = 250;
inline constexpr int kNoSlot = -1;

// Slot 0..3 for D-pad Down with Y, A, B or X (Y first, then A, B, X), else -1.
int DecodeCombination(uint16_t buttons);

// True when D-pad Down is held with at least one face button.
bool IsCombinationHeld(uint16_t buttons);

// True while the combinations' held button (D-pad Down) is down, alone or
// with a face button.
bool IsHeldButtonDown(uint16_t buttons);

// Shared by the worker, the slot operations and the input detours of the game's
// threads; each field is read and written atomically, no ordering between them
// is relied on.
struct ComboGuard {
  std::atomic<bool> suppressActive{false};
  std::atomic<uint64_t> suppressUntil{0};
};

extern ComboGuard comboGuard;

void ArmComboGuardAt(ComboGuard& guard, uint64_t now);

// Clears suppressActive when none of the five combination buttons is held.
void ReleaseComboGuardIfClear(ComboGuard& guard, uint16_t buttons);

bool IsSuppressingAt(const ComboGuard& guard, uint64_t now);

// The buttons of pad 0 as the game may see them, arming and releasing the
// guard on the way. `now` is asked only when a combination button is held:
// with none of them down there is nothing to hide, so the common read costs
// no clock at all.
template <typename Clock>
uint16_t FilterGameButtons(ComboGuard& guard, uint16_t buttons, Clock now) {
  if ((buttons & kComboButtons) == 0) {
    ReleaseComboGuardIfClear(guard, buttons);
    return buttons;
  }
  const bool combination = IsCombinationHeld(buttons);
  if (combination) ArmComboGuardAt(guard, now());
  if (guard.suppressActive.load(std::memory_order_relaxed)) return buttons & kComboKeepMask;
  if (!combination && now() >= guard.suppressUntil.load(std::memory_order_relaxed)) return buttons;
  return buttons & kComboKeepMask;
}

}  // namespace artwheel
