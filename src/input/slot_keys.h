#pragma once
// Keyboard keys for the four slots ([Keys] Y, A, B, X): the names a player may
// write, and which slot a tick's key states select. Platform-free: key codes
// are Windows virtual-key codes, but nothing here asks the system for them.
#include <cstdint>
#include <string_view>

namespace artwheel {

inline constexpr int kSlotKeyCount = 4;     // one per slot, Y A B X
inline constexpr size_t kKeyNameSize = 24;  // "Shift+PageDown" with room to spare
// Longer text is not a key name, whatever its start says.
inline constexpr size_t kMaxKeyNameText = 64;

enum class KeyModifier : uint8_t { kNone, kShift, kCtrl, kAlt };

inline constexpr uint8_t kVirtualKeyShift = 0x10;
inline constexpr uint8_t kVirtualKeyControl = 0x11;
inline constexpr uint8_t kVirtualKeyAlt = 0x12;

struct KeyBinding {
  uint8_t virtualKey = 0;  // 0: no key
  KeyModifier modifier = KeyModifier::kNone;
  char name[kKeyNameSize] = {};  // as the log shows it, e.g. "Shift+F1"
};

// Parses "F1", "shift + home", "Ctrl+7", "Numpad3": letter case ignored,
// blanks around the name and the '+' allowed. False for anything else (empty
// text included), leaving *out without a key.
bool ParseKeyName(std::string_view text, KeyBinding* out);

// The key states a tick reads: each slot's own key, and the three modifiers.
struct KeyStates {
  bool slotKey[kSlotKeyCount] = {};
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// Which slots' keys are down in a press that is spent: it acted, or was seen
// to (its binding held in the tick another slot acted). A press ends when its
// key is seen up.
struct SlotKeyTracker {
  bool spent[kSlotKeyCount] = {};
};

// A binding is held when its key is down with its modifier and without the
// other two. Returns the first slot (Y, A, B, X) whose binding is held in a
// press of its key that is not spent yet, else -1. One press of a key acts
// once, whatever the modifiers do meanwhile: it spends the press for every
// slot on that key.
int NextSlotKeyPress(SlotKeyTracker& tracker, const KeyBinding (&bindings)[kSlotKeyCount],
                     const KeyStates& states);

// Keys went unread (the game was not in front): each counts as held until it
// is seen up, so a key pressed elsewhere never acts on the way back.
void HoldAllSlotKeys(SlotKeyTracker& tracker);

bool AnySlotKeyBound(const KeyBinding (&bindings)[kSlotKeyCount]);

// The first slot before `slot` with the same key and modifier, else -1: that
// slot would always act first, and `slot` never.
int EarlierSlotWithBinding(const KeyBinding (&bindings)[kSlotKeyCount], int slot);

}  // namespace artwheel
