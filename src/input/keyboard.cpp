#include "input/keyboard.h"

#include <windows.h>

namespace artwheel {
namespace {

bool IsKeyDown(uint8_t virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

}  // namespace

bool IsOwnProcessInForeground() {
  const HWND window = GetForegroundWindow();
  if (window == nullptr) return false;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  return processId == GetCurrentProcessId();
}

int PollSlotKeys(SlotKeyTracker& tracker, const KeyBinding (&bindings)[kSlotKeyCount]) {
  if (!IsOwnProcessInForeground()) {
    HoldAllSlotKeys(tracker);
    return -1;
  }
  KeyStates states;
  bool anyDown = false;
  for (int slot = 0; slot < kSlotKeyCount; ++slot) {
    const uint8_t key = bindings[slot].virtualKey;
    states.slotKey[slot] = key != 0 && IsKeyDown(key);
    anyDown = anyDown || states.slotKey[slot];
  }
  // Each read may cost a wineserver round trip under Wine; the modifiers only
  // matter with a key down.
  if (anyDown) {
    states.shift = IsKeyDown(kVirtualKeyShift);
    states.ctrl = IsKeyDown(kVirtualKeyControl);
    states.alt = IsKeyDown(kVirtualKeyAlt);
  }
  return NextSlotKeyPress(tracker, bindings, states);
}

}  // namespace artwheel
