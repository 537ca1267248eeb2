#include "input/slot_keys.h"

#include <cstring>

#include "base/ini_text.h"

namespace artwheel {
namespace {

struct NamedKey {
  const char* name;
  uint8_t virtualKey;
};

constexpr NamedKey kNamedKeys[] = {
    {"Insert", 0x2D}, {"Delete", 0x2E}, {"Home", 0x24},
    {"End", 0x23},    {"PageUp", 0x21}, {"PageDown", 0x22},
};

struct NamedModifier {
  const char* name;
  KeyModifier modifier;
};

constexpr NamedModifier kModifiers[] = {
    {"Shift", KeyModifier::kShift}, {"Ctrl", KeyModifier::kCtrl}, {"Alt", KeyModifier::kAlt}};

constexpr uint8_t kVirtualKeyF1 = 0x70;
constexpr uint8_t kVirtualKeyNumpad0 = 0x60;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualsIgnoreCaseAscii(text.substr(0, prefix.size()), prefix);
}

// "1".."12" style numbers without a leading zero; -1 for anything else.
int SmallNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 2 || (digits.size() == 2 && digits[0] == '0')) return -1;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

void CopyName(char (&out)[kKeyNameSize], size_t at, std::string_view text) {
  const size_t room = kKeyNameSize - 1 - at;
  const size_t length = text.size() < room ? text.size() : room;
  std::memcpy(out + at, text.data(), length);
  out[at + length] = '\0';
}

// One key without modifier: its code and its name as written in the table.
bool ParseBareKey(std::string_view text, uint8_t* virtualKey, char (&name)[kKeyNameSize],
                  size_t at) {
  if (text.size() == 1) {
    const char c = UpperAscii(text[0]);
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
      *virtualKey = static_cast<uint8_t>(c);
      CopyName(name, at, std::string_view(&c, 1));
      return true;
    }
    return false;
  }
  for (const NamedKey& key : kNamedKeys) {
    if (EqualsIgnoreCaseAscii(text, key.name)) {
      *virtualKey = key.virtualKey;
      CopyName(name, at, key.name);
      return true;
    }
  }
  if (StartsWithIgnoreCase(text, "Numpad")) {
    const std::string_view digit = text.substr(6);
    if (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') {
      *virtualKey = static_cast<uint8_t>(kVirtualKeyNumpad0 + (digit[0] - '0'));
      CopyName(name, at, "Numpad");
      CopyName(name, at + 6, digit);
      return true;
    }
    return false;
  }
  if (UpperAscii(text[0]) == 'F') {
    const int number = SmallNumber(text.substr(1));
    if (number >= 1 && number <= 12) {
      *virtualKey = static_cast<uint8_t>(kVirtualKeyF1 + number - 1);
      CopyName(name, at, "F");
      CopyName(name, at + 1, text.substr(1));
      return true;
    }
  }
  return false;
}

bool IsHeld(const KeyBinding& binding, bool keyDown, const KeyStates& states) {
  if (binding.virtualKey == 0 || !keyDown) return false;
  return states.shift == (binding.modifier == KeyModifier::kShift) &&
         states.ctrl == (binding.modifier == KeyModifier::kCtrl) &&
         states.alt == (binding.modifier == KeyModifier::kAlt);
}

}  // namespace

bool ParseKeyName(std::string_view text, KeyBinding* out) {
  if (out == nullptr) return false;
  *out = KeyBinding{};
  if (text.size() > kMaxKeyNameText) return false;
  std::string_view key = TrimBlanks(text);
  KeyBinding parsed;
  size_t at = 0;
  const size_t plus = key.find('+');
  if (plus != std::string_view::npos) {
    const std::string_view modifierName = TrimBlanks(key.substr(0, plus));
    bool known = false;
    for (const NamedModifier& modifier : kModifiers) {
      if (EqualsIgnoreCaseAscii(modifierName, modifier.name)) {
        parsed.modifier = modifier.modifier;
        CopyName(parsed.name, 0, modifier.name);
        at = std::strlen(parsed.name);
        CopyName(parsed.name, at, "+");
        ++at;
        known = true;
      }
    }
    if (!known) return false;
    key = TrimBlanks(key.substr(plus + 1));
  }
  if (key.empty() || !ParseBareKey(key, &parsed.virtualKey, parsed.name, at)) return false;
  *out = parsed;
  return true;
}

int NextSlotKeyPress(SlotKeyTracker& tracker, const KeyBinding (&bindings)[kSlotKeyCount],
                     const KeyStates& states) {
  for (int slot = 0; slot < kSlotKeyCount; ++slot) {
    if (!states.slotKey[slot]) tracker.spent[slot] = false;
  }
  int pressed = -1;
  for (int slot = 0; slot < kSlotKeyCount; ++slot) {
    if (tracker.spent[slot] || !IsHeld(bindings[slot], states.slotKey[slot], states)) continue;
    if (pressed < 0) pressed = slot;
    for (int other = 0; other < kSlotKeyCount; ++other) {
      if (bindings[other].virtualKey == bindings[slot].virtualKey) tracker.spent[other] = true;
    }
  }
  return pressed;
}

void HoldAllSlotKeys(SlotKeyTracker& tracker) {
  for (bool& spent : tracker.spent) spent = true;
}

bool AnySlotKeyBound(const KeyBinding (&bindings)[kSlotKeyCount]) {
  for (const KeyBinding& binding : bindings) {
    if (binding.virtualKey != 0) return true;
  }
  return false;
}

int EarlierSlotWithBinding(const KeyBinding (&bindings)[kSlotKeyCount], int slot) {
  const KeyBinding& binding = bindings[slot];
  if (binding.virtualKey == 0) return -1;
  for (int earlier = 0; earlier < slot; ++earlier) {
    if (bindings[earlier].virtualKey == binding.virtualKey &&
        bindings[earlier].modifier == binding.modifier) {
      return earlier;
    }
  }
  return -1;
}

}  // namespace artwheel
