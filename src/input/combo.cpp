#include "input/combo.h"

#include "base/ini_text.h"

namespace artwheel {

ComboGuard comboGuards[kPadCount];
CombinationChoice combinationChoice;

static_assert(std::atomic<HeldControl>::is_always_lock_free, "read on the game's input threads");

namespace {

constexpr HeldControl Hat(uint16_t angle) { return HeldControl{HeldControl::kHat, angle}; }
constexpr HeldControl Button(uint16_t index) { return HeldControl{HeldControl::kButton, index}; }

}  // namespace

const HeldButtonInfo kHeldButtons[kHeldButtonCount] = {
    {"DPadDown", 0x0002, Hat(18000), "DPadDown", "DPad Down", "D-pad Down"},
    {"DPadUp", 0x0001, Hat(0), "DPadUp", "DPad Up", "D-pad Up"},
    {"DPadLeft", 0x0004, Hat(27000), "DPadLeft", "DPad Left", "D-pad Left"},
    {"DPadRight", 0x0008, Hat(9000), "DPadRight", "DPad Right", "D-pad Right"},
    {"LB", 0x0100, Button(4), "LB", "LB", "L1"},
    {"RB", 0x0200, Button(5), "RB", "RB", "R1"},
    {"Back", 0x0020, Button(6), "Back", "Back", "Share"},
    {"LS", 0x0040, Button(8), "LS", "LS", "L3"},
    {"RS", 0x0080, Button(9), "RS", "RS", "R3"},
};

namespace {

constexpr const char* kXboxFaces[] = {"Y", "A", "B", "X"};
constexpr const char* kPlayStationFaces[] = {"Triangle", "Cross", "Circle", "Square"};

const HeldButtonInfo& Info(HeldButton held) { return kHeldButtons[static_cast<int>(held)]; }

bool SlotsChosen() { return (CombinationButtons() & kFaceButtons) != 0; }

}  // namespace

bool ParseHeldButton(std::string_view text, HeldButton* out) {
  for (int i = 0; i < kHeldButtonCount; ++i) {
    if (EqualsIgnoreCaseAscii(text, kHeldButtons[i].configName)) {
      *out = static_cast<HeldButton>(i);
      return true;
    }
  }
  return false;
}

bool ParseButtonNames(std::string_view text, ButtonNames* out) {
  if (EqualsIgnoreCaseAscii(text, "Xbox")) {
    *out = ButtonNames::kXbox;
  } else if (EqualsIgnoreCaseAscii(text, "PlayStation")) {
    *out = ButtonNames::kPlayStation;
  } else {
    return false;
  }
  return true;
}

const char* FaceButtonName(int slot, ButtonNames names) {
  return names == ButtonNames::kPlayStation ? kPlayStationFaces[slot] : kXboxFaces[slot];
}

const char* HeldButtonLabel(HeldButton held, ButtonNames names) {
  return names == ButtonNames::kPlayStation ? Info(held).playStationWords : Info(held).xboxLabel;
}

const char* HeldButtonWords(HeldButton held, ButtonNames names) {
  return names == ButtonNames::kPlayStation ? Info(held).playStationWords : Info(held).xboxWords;
}

// The word tables list the held buttons in the order of HeldButton and the
// face buttons in slot order, in each naming.
static_assert(static_cast<int>(Word::kXboxRS) - static_cast<int>(Word::kXboxDpadDown) + 1 ==
              kHeldButtonCount);
static_assert(static_cast<int>(Word::kPsR3) - static_cast<int>(Word::kPsDpadDown) + 1 ==
              kHeldButtonCount);

Word HeldButtonWord(HeldButton held, ButtonNames names) {
  const Word first = names == ButtonNames::kPlayStation ? Word::kPsDpadDown : Word::kXboxDpadDown;
  return static_cast<Word>(static_cast<int>(first) + static_cast<int>(held));
}

Word FaceButtonWord(int slot, ButtonNames names) {
  const Word first = names == ButtonNames::kPlayStation ? Word::kPsTriangle : Word::kXboxY;
  return static_cast<Word>(static_cast<int>(first) + slot);
}

void ChooseCombination(HeldButton held, bool enabled, uint16_t menuOpenBit, uint8_t menuOpenIndex) {
  const HeldButtonInfo& info = Info(held);
  const bool any = enabled || menuOpenBit != 0;
  const uint16_t faces = enabled ? kFaceButtons : 0;
  HeldControl device = any ? info.device : HeldControl{};
  if (any) device.partner = menuOpenIndex;
  combinationChoice.held.store(any ? info.xinputBit : 0, std::memory_order_relaxed);
  combinationChoice.buttons.store(any ? info.xinputBit | faces | menuOpenBit : 0,
                                  std::memory_order_relaxed);
  combinationChoice.device.store(device, std::memory_order_relaxed);
}

void ChooseFilteredPads(PadSet pads) {
  combinationChoice.pads.store(pads, std::memory_order_relaxed);
}

int DecodeCombination(uint16_t buttons) {
  if (!SlotsChosen() || (buttons & HeldBit()) == 0) return kNoSlot;
  if (buttons & kButtonY) return 0;
  if (buttons & kButtonA) return 1;
  if (buttons & kButtonB) return 2;
  if (buttons & kButtonX) return 3;
  return kNoSlot;
}

bool IsHeldButtonDown(uint16_t buttons) { return SlotsChosen() && (buttons & HeldBit()) != 0; }

void ReleaseComboGuardIfClear(ComboGuard& guard, uint16_t buttons) {
  if ((buttons & CombinationButtons()) == 0 &&
      guard.suppressActive.load(std::memory_order_relaxed)) {
    guard.suppressActive.store(false, std::memory_order_relaxed);
  }
}

bool IsSuppressingAt(const ComboGuard& guard, uint64_t now) {
  return guard.suppressActive.load(std::memory_order_relaxed) ||
         now < guard.suppressUntil.load(std::memory_order_relaxed);
}

bool IsAnySuppressingAt(const ComboGuard (&guards)[kPadCount], uint64_t now) {
  for (const ComboGuard& guard : guards) {
    if (IsSuppressingAt(guard, now)) return true;
  }
  return false;
}

}  // namespace artwheel
