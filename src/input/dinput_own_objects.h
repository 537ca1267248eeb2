#pragma once
// DirectInput reached without the game's help: when another module is the
// game's dinput8.dll, objects of the library's own from that module lead to
// the method tables the game's objects share.
#include <windows.h>

#include "base/patch.h"

namespace artwheel {

struct OwnObjectsOutcome {
  bool created = false;  // an ANSI or a wide object came from the provider
  PatchStatus ansi = PatchStatus::kRefused;
  PatchStatus wide = PatchStatus::kRefused;
  bool keyboardHooked = false;  // the device methods, through the system keyboard
  bool joystickHooked = false;  // the same through a joystick, where one answers
};

// Creates an ANSI and a wide DirectInput object through `directInput8Create`,
// redirects CreateDevice in each one's table, and creates a system keyboard
// (and a joystick, where the provider has one) through them so that their
// device tables are redirected too. Releases what it made.
OwnObjectsOutcome RedirectThroughOwnObjects(void* directInput8Create);

}  // namespace artwheel
