#include "input/menu_gate.h"

#include <cstring>

namespace artwheel {

MenuGate menuGate;

namespace {

constexpr uint32_t kKeyboardStateSize = 256;
constexpr uint32_t kKeyRecordSize = 24;
constexpr uint32_t kKeyPressed = 0x80;

constexpr uint8_t kFixedKeyCodes[kMenuKeyOwn] = {kDikUp,    kDikDown,        kDikLeft,  kDikRight,
                                                 kDikEnter, kDikNumpadEnter, kDikEscape};

// Set 1 scan codes of the letters A to Z.
constexpr uint8_t kLetterCodes[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                      0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                      0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
constexpr uint8_t kNumpadCodes[10] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};

uint8_t KeyCodeAt(const MenuGate& gate, int place) {
  return place < kMenuKeyOwn ? kFixedKeyCodes[place]
                             : gate.ownKeyCode.load(std::memory_order_relaxed);
}

}  // namespace

uint8_t DirectInputKeyCode(uint8_t virtualKey) {
  if (virtualKey >= 'A' && virtualKey <= 'Z') return kLetterCodes[virtualKey - 'A'];
  if (virtualKey == '0') return 0x0B;
  if (virtualKey >= '1' && virtualKey <= '9') return static_cast<uint8_t>(0x02 + virtualKey - '1');
  if (virtualKey >= 0x70 && virtualKey <= 0x79)
    return static_cast<uint8_t>(0x3B + virtualKey - 0x70);
  if (virtualKey == 0x7A) return 0x57;  // F11
  if (virtualKey == 0x7B) return 0x58;  // F12
  if (virtualKey >= 0x60 && virtualKey <= 0x69) return kNumpadCodes[virtualKey - 0x60];
  switch (virtualKey) {
    case 0x2D:
      return 0xD2;  // Insert
    case 0x2E:
      return 0xD3;  // Delete
    case 0x24:
      return 0xC7;  // Home
    case 0x23:
      return 0xCF;  // End
    case 0x21:
      return 0xC9;  // PageUp
    case 0x22:
      return 0xD1;  // PageDown
    default:
      return 0;
  }
}

void FilterMenuPad(MenuGate& gate, int index, const PadFields& pad) {
  const bool open = gate.open.load(std::memory_order_relaxed);
  uint16_t held = gate.heldAfterClose.load(std::memory_order_relaxed);
  if ((!open && held == 0) || index != gate.pad.load(std::memory_order_relaxed)) return;
  if (open) {
    *pad.buttons = 0;
    *pad.leftTrigger = 0;
    *pad.rightTrigger = 0;
    std::memset(pad.thumbs, 0, 4 * sizeof(int16_t));
    return;
  }
  // A button seen up is the game's again, even if the worker has not seen it yet.
  const uint16_t still = held & *pad.buttons;
  while (still != held &&
         !gate.heldAfterClose.compare_exchange_weak(held, static_cast<uint16_t>(held & still),
                                                    std::memory_order_relaxed)) {
  }
  *pad.buttons = static_cast<uint16_t>(*pad.buttons & ~still);
}

bool MenuHoldsJoystick(const MenuGate& gate) {
  return gate.open.load(std::memory_order_relaxed) ||
         gate.heldAfterClose.load(std::memory_order_relaxed) != 0;
}

uint32_t MenuKeyBit(const MenuGate& gate, uint32_t code) {
  if (code == 0) return 0;
  for (int place = 0; place < kMenuKeyCount; ++place) {
    if (KeyCodeAt(gate, place) == code) return 1u << place;
  }
  return 0;
}

void FilterMenuKeyboardState(const MenuGate& gate, uint8_t* keys, uint32_t size) {
  const uint32_t hidden = gate.hiddenKeys.load(std::memory_order_relaxed);
  if (hidden == 0 || keys == nullptr || size < kKeyboardStateSize) return;
  for (int place = 0; place < kMenuKeyCount; ++place) {
    const uint8_t code = KeyCodeAt(gate, place);
    if ((hidden & (1u << place)) != 0 && code != 0) keys[code] = 0;
  }
}

void FilterMenuKeyboardEvents(const MenuGate& gate, uint8_t* records, uint32_t recordSize,
                              uint32_t* count) {
  const uint32_t hidden = gate.hiddenKeys.load(std::memory_order_relaxed);
  if (hidden == 0 || records == nullptr || count == nullptr || recordSize != kKeyRecordSize) {
    return;
  }
  uint32_t kept = 0;
  for (uint32_t i = 0; i < *count; ++i) {
    uint8_t* record = records + static_cast<size_t>(i) * kKeyRecordSize;
    uint32_t code = 0;
    uint32_t data = 0;
    std::memcpy(&code, record, sizeof code);
    std::memcpy(&data, record + 4, sizeof data);
    // Releases pass: the game may have seen the key go down before the menu opened.
    if ((data & kKeyPressed) != 0 && (MenuKeyBit(gate, code) & hidden) != 0) continue;
    if (kept != i) {
      std::memcpy(records + static_cast<size_t>(kept) * kKeyRecordSize, record, kKeyRecordSize);
    }
    ++kept;
  }
  *count = kept;
}

}  // namespace artwheel
