#pragma once
// Opening the settings menu from the pad: the combinations' held button with
// an open button, both held for a while. Platform-free: every time is passed
// in, in GetTickCount64 milliseconds.
#include <cstdint>

#include "input/menu_settings.h"

namespace artwheel {

inline constexpr uint16_t kButtonStart = 0x0010;

// The open button's bit; Start when the chosen one is the held button itself.
uint16_t MenuOpenBit(uint16_t openBit, uint16_t heldBit);

// The open button as XInput and DirectInput's standard layout report it.
struct MenuOpenControl {
  uint16_t bit;
  uint8_t deviceButton;
};
MenuOpenControl ChooseMenuOpenControl(MenuOpenButton open, uint16_t heldBit);

// One chord: held since `since` while `timing`; once it fired (or was seen
// while the menu was open) it acts again only after a release.
struct MenuChord {
  bool timing = false;
  bool spent = false;
  uint64_t since = 0;
};

// True in the one tick in which the chord has been held for `holdMs`; a
// shorter press does nothing.
bool HoldMenuChord(MenuChord& chord, bool bothDown, uint64_t now, uint32_t holdMs);

// True when the chord is pressed anew (it closes an open menu at once). The
// press that opened the menu must be let go first.
bool PressMenuChord(MenuChord& chord, bool bothDown);

}  // namespace artwheel
