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

MenuKeyStates ReadMenuKeys(const KeyBinding& menuKey, bool navigation) {
  MenuKeyStates states;
  if (!IsOwnProcessInForeground()) return states;
  states.inFront = true;
  if (menuKey.virtualKey != 0 && IsKeyDown(menuKey.virtualKey)) {
    const bool shift = IsKeyDown(kVirtualKeyShift);
    const bool ctrl = IsKeyDown(kVirtualKeyControl);
    const bool alt = IsKeyDown(kVirtualKeyAlt);
    states.menuKey = shift == (menuKey.modifier == KeyModifier::kShift) &&
                     ctrl == (menuKey.modifier == KeyModifier::kCtrl) &&
                     alt == (menuKey.modifier == KeyModifier::kAlt);
  }
  if (!navigation) return states;
  states.up = IsKeyDown(VK_UP);
  states.down = IsKeyDown(VK_DOWN);
  states.left = IsKeyDown(VK_LEFT);
  states.right = IsKeyDown(VK_RIGHT);
  states.enter = IsKeyDown(VK_RETURN);
  states.escape = IsKeyDown(VK_ESCAPE);
  return states;
}

}  // namespace artwheel
