#pragma once
// Controller combinations (a held button + Y/A/B/X, D-pad Down unless the
// player chose another) and the guard that hides their buttons from the game.
// Platform-free: every time is passed in, in GetTickCount64 milliseconds.
#include <atomic>
#include <cstdint>
#include <string_view>

#include "words/words.h"

namespace artwheel {

inline constexpr uint16_t kButtonDpadDown = 0x0002;
inline constexpr uint16_t kButtonA = 0x1000;
inline constexpr uint16_t kButtonB = 0x2000;
inline constexpr uint16_t kButtonX = 0x4000;
inline constexpr uint16_t kButtonY = 0x8000;
inline constexpr uint16_t kFaceButtons = 0xF000;
inline constexpr uint16_t kComboButtons = 0xF002;
inline constexpr uint64_t kComboSuppressMs = 250;
inline constexpr int kNoSlot = -1;

// XInput user indexes 0..3 (players 1..4); bit i of a PadSet is index i.
inline constexpr int kPadCount = 4;
using PadSet = uint8_t;
inline constexpr PadSet kAllPads = 0x0F;
inline constexpr PadSet PadBit(int index) { return static_cast<PadSet>(1u << index); }

// The buttons that may be held with a face button. Start and the triggers are
// left out: Start opens the game's menu, the triggers are an axis in DirectInput.
enum class HeldButton : uint8_t {
  kDpadDown,
  kDpadUp,
  kDpadLeft,
  kDpadRight,
  kLB,
  kRB,
  kBack,
  kLS,
  kRS
};
inline constexpr int kHeldButtonCount = 9;

enum class ButtonNames : uint8_t { kXbox, kPlayStation };

// The held button as DirectInput's standard layout of an Xbox controller
// reports it: a direction of hat 0 (hundredths of a degree) or a button index.
// Aligned as a whole: one lock-free load on every filtered read.
struct alignas(8) HeldControl {
  static constexpr uint8_t kNoPartner = 0xFF;
  enum Kind : uint8_t { kNone, kHat, kButton } kind = kNone;
  uint16_t value = 0;
  // The settings menu's open button (a button index), pressed with the held
  // control like buttons 0 to 3; kNoPartner without the menu.
  uint8_t partner = kNoPartner;
};

struct HeldButtonInfo {
  const char* configName = nullptr;  // [Combination] Modifier
  uint16_t xinputBit = 0;
  HeldControl device;
  const char* xboxLabel = nullptr;  // in the log's slot labels, "DPadDown+Y"
  const char* xboxWords = nullptr;  // in the message, "DPad Down + Y"
  const char* playStationWords = nullptr;
};

extern const HeldButtonInfo kHeldButtons[kHeldButtonCount];

// Case-insensitive; false (and *out untouched) for any other text.
bool ParseHeldButton(std::string_view text, HeldButton* out);
bool ParseButtonNames(std::string_view text, ButtonNames* out);

// "Y" or "Triangle" for slot 0, and so on.
const char* FaceButtonName(int slot, ButtonNames names);
// The held button's name in slot labels and in the message.
const char* HeldButtonLabel(HeldButton held, ButtonNames names);
const char* HeldButtonWords(HeldButton held, ButtonNames names);
// The same buttons' words on screen, in any language.
Word HeldButtonWord(HeldButton held, ButtonNames names);
Word FaceButtonWord(int slot, ButtonNames names);

// The chosen combination, written by the worker when the settings are handed
// over and read relaxed on every filtered read: the buttons hidden with the
// held button (its bit with the four face buttons, and the settings menu's
// open button; 0 with both off), the held button's bit, the held control of
// the DirectInput filter, and the XInput indexes whose reads are filtered.
struct CombinationChoice {
  std::atomic<uint16_t> buttons{kComboButtons};
  std::atomic<uint16_t> held{kButtonDpadDown};
  std::atomic<HeldControl> device{HeldControl{HeldControl::kHat, 18000}};
  std::atomic<PadSet> pads{PadBit(0)};
};

extern CombinationChoice combinationChoice;

// `menuOpenBit` (with its DirectInput button index) is the settings menu's
// open button, hidden while the held button is down; 0 without the menu.
void ChooseCombination(HeldButton held, bool enabled, uint16_t menuOpenBit = 0,
                       uint8_t menuOpenIndex = HeldControl::kNoPartner);
void ChooseFilteredPads(PadSet pads);

inline PadSet FilteredPadSet() { return combinationChoice.pads.load(std::memory_order_relaxed); }

inline uint16_t CombinationButtons() {
  return combinationChoice.buttons.load(std::memory_order_relaxed);
}

inline uint16_t HeldBit() { return combinationChoice.held.load(std::memory_order_relaxed); }

inline HeldControl CombinationDeviceControl() {
  return combinationChoice.device.load(std::memory_order_relaxed);
}

// Slot 0..3 for the held button with Y, A, B or X (Y first, then A, B, X), else -1.
int DecodeCombination(uint16_t buttons);

// True when the held button is down with at least one face button (or the
// settings menu's open button). Inline: the XInput filter asks on every
// read with a combination button down.
inline bool IsCombinationHeld(uint16_t buttons) {
  const uint16_t held = HeldBit();
  const auto partners = static_cast<uint16_t>(CombinationButtons() & ~held);
  return (buttons & held) != 0 && (buttons & partners) != 0;
}

// True when the chosen held button is down; false with combinations off.
bool IsHeldButtonDown(uint16_t buttons);

// One per pad, shared by the worker and the XInput filter on the game's
// threads: a combination on one pad hides buttons from the game's reads of
// that pad alone. Each field is read and written atomically, no ordering
// between them is relied on.
struct ComboGuard {
  std::atomic<bool> suppressActive{false};
  std::atomic<uint64_t> suppressUntil{0};
};

extern ComboGuard comboGuards[kPadCount];

inline void ArmComboGuardAt(ComboGuard& guard, uint64_t now) {
  guard.suppressActive.store(true, std::memory_order_relaxed);
  guard.suppressUntil.store(now + kComboSuppressMs, std::memory_order_relaxed);
}

// Clears suppressActive when none of the five combination buttons is held.
void ReleaseComboGuardIfClear(ComboGuard& guard, uint16_t buttons);

bool IsSuppressingAt(const ComboGuard& guard, uint64_t now);

// Any pad's guard: the DirectInput filter cannot tell the pads apart.
bool IsAnySuppressingAt(const ComboGuard (&guards)[kPadCount], uint64_t now);

// The buttons of a filtered pad as the game may see them, arming and releasing the
// guard on the way. `now` is asked only when a combination button is held:
// with none of them down there is nothing to hide, so the common read costs
// no clock at all.
template <typename Clock>
uint16_t FilterGameButtons(ComboGuard& guard, uint16_t buttons, Clock now) {
  const uint16_t combo = CombinationButtons();
  if ((buttons & combo) == 0) {
    ReleaseComboGuardIfClear(guard, buttons);
    return buttons;
  }
  const bool combination = IsCombinationHeld(buttons);
  if (combination) ArmComboGuardAt(guard, now());
  const auto keep = static_cast<uint16_t>(~combo);
  if (guard.suppressActive.load(std::memory_order_relaxed)) return buttons & keep;
  if (!combination && now() >= guard.suppressUntil.load(std::memory_order_relaxed)) return buttons;
  return buttons & keep;
}

}  // namespace artwheel
