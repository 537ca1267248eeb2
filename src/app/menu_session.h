#pragma once
// The settings menu on the worker thread: the chord and [Keys] Menu open it,
// the pad and the keyboard move through it, each change applies at once and
// the changed keys are saved when it closes.
#include <cstdint>

#include "app/menu_items.h"
#include "app/settings_record.h"
#include "input/combo.h"
#include "input/menu_chord.h"
#include "input/menu_navigation.h"

namespace artwheel {

struct MenuSession {
  bool open = false;
  int pad = 0;  // the XInput index it was opened from; only that pad moves through it
  MenuChord chord;
  bool menuKeyDown = false;  // [Keys] Menu as last seen: a press acts once
  MenuRepeat repeat;
  MenuModel model;
  Settings atOpen;  // what was in force when it opened; the changes are saved against it
  bool drawFailedLogged = false;
};

// What the tick read of the pads: those that answered, and their buttons.
struct MenuTick {
  PadSet answered;
  const uint16_t* buttons;  // kPadCount of them
};

// One tick of the menu; true while it is open (the combinations and the slot
// keys rest). `handOver` hands the settings to the subsystems, as at a reload.
bool RunMenu(MenuSession& session, Settings& settings, const MenuTick& tick,
             void (*handOver)(const Settings&));

// Takes out of the pads' buttons those still down from the menu: they are
// not free for the combinations until let go.
void KeepMenuButtonsFromCombinations(uint16_t (&buttons)[kPadCount]);

// The settings menu's open button for the input filters, from the settings.
void ChooseCombinationWithMenu(const Settings& settings, bool combinationsAllowed);

}  // namespace artwheel
