#pragma once
// The settings menu on the worker thread: the chord and [Keys] Menu open it,
// the pad and the keyboard move through it, each change applies at once and
// the changed keys are saved when it closes.
#include <cstdint>

#include "app/menu_items.h"
#include "app/settings_record.h"
#include "input/menu_chord.h"
#include "input/menu_navigation.h"

namespace artwheel {

struct MenuSession {
  bool open = false;
  MenuChord chord;
  bool menuKeyDown = false;  // [Keys] Menu as last seen: a press acts once
  MenuRepeat repeat;
  MenuModel model;
  Settings atOpen;  // what was in force when it opened; the changes are saved against it
  bool drawFailedLogged = false;
};

// What the tick read of the pad.
struct MenuTick {
  bool polled;
  uint16_t buttons;
};

// One tick of the menu; true while it is open (the combinations and the slot
// keys rest). `handOver` hands the settings to the subsystems, as at a reload.
bool RunMenu(MenuSession& session, Settings& settings, const MenuTick& tick,
             void (*handOver)(const Settings&));

// The pad's buttons that are free for the combinations: not one still down
// from the menu.
uint16_t ButtonsFreeOfMenu(uint16_t buttons);

// The settings menu's open button for the input filters, from the settings.
void ChooseCombinationWithMenu(const Settings& settings, bool combinationsAllowed);

}  // namespace artwheel
