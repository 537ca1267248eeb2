#include "input/menu_chord.h"

namespace artwheel {

uint16_t MenuOpenBit(uint16_t openBit, uint16_t heldBit) {
  return openBit == heldBit ? kButtonStart : openBit;
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
