#include "input/menu_chord.h"

namespace artwheel {

uint16_t MenuOpenBit(uint16_t openBit, uint16_t heldBit) {
  return openBit == heldBit ? kButtonStart : openBit;
}

MenuOpenControl ChooseMenuOpenControl(MenuOpenButton open, uint16_t heldBit) {
  constexpr MenuOpenControl kControls[] = {
      {0x0020, 6}, {kButtonStart, 7}, {0x0040, 8}, {0x0080, 9}};
  const MenuOpenControl chosen = kControls[static_cast<int>(open) & 3];
  return MenuOpenBit(chosen.bit, heldBit) == chosen.bit ? chosen : kControls[1];
}

bool HoldMenuChord(MenuChord& chord, bool bothDown, uint64_t now, uint32_t holdMs) {
  if (!bothDown) {
    chord = MenuChord{};
    return false;
  }
  if (chord.spent) return false;
  if (!chord.timing) {
    chord.timing = true;
    chord.since = now;
  }
  if (now - chord.since < holdMs) return false;
  chord.spent = true;
  chord.timing = false;
  return true;
}

bool PressMenuChord(MenuChord& chord, bool bothDown) {
  if (!bothDown) {
    chord = MenuChord{};
    return false;
  }
  if (chord.spent) return false;
  chord.spent = true;
  return true;
}

}  // namespace artwheel
