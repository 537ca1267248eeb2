#include "input/keyboard.h"

#include <windows.h>

#include "core/ini_text.h"
#include "core/log.h"
#include "core/settings.h"
#include "slots/game_layout.h"

namespace artwheel {
namespace {

bool IsKeyDown(uint8_t virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

void LoadSlotKey(int slot, const char* iniPath) {
  const char* key = SlotInfo[slot].shortLabel;
  // One byte more than a name may take, so that a longer text is seen as such
  // instead of being cut into something that parses.
  char value[kMaxKeyNameText + 2] = {};
  const DWORD length = GetPrivateProfileStringA("Keys", key, "", value, sizeof value, iniPath);
  const std::string_view text = StripInlineComment(std::string_view(value, length));
  if (text.empty()) return;
  if (length < sizeof value - 1 && ParseKeyName(text, &settings.slotKeys[slot])) return;
  WriteLogFormat("[Config] Unknown key name \"%.*s\" in [Keys] %s; slot %d has no key",
                 static_cast<int>(text.size()), text.data(), key, slot);
}

}  // namespace

void LoadSlotKeys(const char* iniPath) {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    settings.slotKeys[slot] = KeyBinding{};
    LoadSlotKey(slot, iniPath);
  }
  if (!AnySlotKeyBound(settings.slotKeys)) return;
  auto shown = [](int slot) {
    return settings.slotKeys[slot].virtualKey != 0 ? settings.slotKeys[slot].name : "-";
  };
  WriteLogFormat("[Config] Keys: Y=%s A=%s B=%s X=%s", shown(0), shown(1), shown(2), shown(3));
}

bool IsOwnProcessInForeground() {
  const HWND window = GetForegroundWindow();
  if (window == nullptr) return false;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  return processId == GetCurrentProcessId();
}

int PollSlotKeys(SlotKeyTracker& tracker) {
  if (!IsOwnProcessInForeground()) {
    HoldAllSlotKeys(tracker);
    return -1;
  }
  KeyStates states;
  bool anyDown = false;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const uint8_t key = settings.slotKeys[slot].virtualKey;
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
  return NextSlotKeyPress(tracker, settings.slotKeys, states);
}

}  // namespace artwheel
