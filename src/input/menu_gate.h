#pragma once
// What the game may read while the settings menu is open, and just after it
// closed: the worker opens and closes the gate, the input detours on the
// game's threads look at it. Platform-free.
#include <atomic>
#include <cstdint>

namespace artwheel {

// DirectInput keyboard codes of the keys that move through the menu.
inline constexpr uint8_t kDikEscape = 0x01;
inline constexpr uint8_t kDikEnter = 0x1C;
inline constexpr uint8_t kDikNumpadEnter = 0x9C;
inline constexpr uint8_t kDikUp = 0xC8;
inline constexpr uint8_t kDikLeft = 0xCB;
inline constexpr uint8_t kDikRight = 0xCD;
inline constexpr uint8_t kDikDown = 0xD0;

// The keys hidden from the game's DirectInput keyboard, as bits of this list
// (the last place is the player's own [Keys] Menu key).
enum MenuKey : uint8_t {
  kMenuKeyUp,
  kMenuKeyDown,
  kMenuKeyLeft,
  kMenuKeyRight,
  kMenuKeyEnter,
  kMenuKeyNumpadEnter,
  kMenuKeyEscape,
  kMenuKeyOwn,
  kMenuKeyCount
};
inline constexpr uint32_t kAllMenuKeys = (1u << kMenuKeyCount) - 1;

// The DirectInput code of a virtual key that [Keys] may name (letters, digits,
// F1-F12, the numpad's digits, Insert ... PageDown); 0 for any other.
uint8_t DirectInputKeyCode(uint8_t virtualKey);

struct MenuGate {
  std::atomic<bool> open{false};
  std::atomic<uint8_t> pad{0};  // the XInput index of the pad that opened it
  // The pad's buttons that were down when the menu closed, hidden until each
  // is seen released.
  std::atomic<uint16_t> heldAfterClose{0};
  // The navigation keys hidden from the game's keyboard (all while open).
  std::atomic<uint32_t> hiddenKeys{0};
  std::atomic<uint8_t> ownKeyCode{0};  // DirectInput code of [Keys] Menu; 0: none
};

extern MenuGate menuGate;

// XINPUT_GAMEPAD's fields of a read of XInput index `pad`, filtered in place
// when it is the menu's pad: all neutral while the menu is open; after it
// closed, the buttons still down from it are taken out (and forgotten as soon
// as they are up). Two relaxed loads when nothing is hidden.
struct PadFields {
  uint16_t* buttons;
  uint8_t* leftTrigger;
  uint8_t* rightTrigger;
  int16_t* thumbs;  // four: left X, Y, right X, Y
};
void FilterMenuPad(MenuGate& gate, int pad, const PadFields& fields);

// Whether the menu keeps anything of any pad from the game: the one look a
// read of the pad costs while the menu is closed and nothing is held over.
inline bool MenuGateHoldsPads(const MenuGate& gate) {
  return gate.open.load(std::memory_order_relaxed) ||
         gate.heldAfterClose.load(std::memory_order_relaxed) != 0;
}

// Whether the game's joystick reads are neutral: the menu is open, or a
// button pressed in it is still down.
bool MenuHoldsJoystick(const MenuGate& gate);

// The bit of the navigation key a DirectInput keyboard code stands for; 0 when
// it is none of them.
uint32_t MenuKeyBit(const MenuGate& gate, uint32_t code);

// A 256-byte keyboard state with the hidden keys released.
void FilterMenuKeyboardState(const MenuGate& gate, uint8_t* keys, uint32_t size);

// A batch of 24-byte keyboard events without those of the hidden keys.
void FilterMenuKeyboardEvents(const MenuGate& gate, uint8_t* records, uint32_t recordSize,
                              uint32_t* count);

}  // namespace artwheel
