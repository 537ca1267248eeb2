#pragma once
// How each key of artwheel.ini turns its text into a field of Settings and back
// into text: the parse and show functions the key table points to. A parser
// stores the value and returns true, or leaves the field and returns false.
// Platform-free.
#include <cstddef>
#include <cstdint>

#include "app/settings_keys.h"

namespace artwheel {

void ShowSwitchValue(bool on, ShowStyle style, char* out, size_t size);
void ShowUnsigned(uint32_t value, char* out, size_t size);
// IsDebug keeps its own words: anything but true, 1, yes, on is off.
bool ParseDebug(const KeyText& value, Settings& s, int slot);
// [Slots]: the number the profile functions read. Text that is no number is
// read that way at start (and saved so); at a reload the slot keeps its art.
bool ParseSlotArt(const KeyText& value, Settings& s, int slot);
void ShowSlotArt(const Settings& s, int slot, ShowStyle style, char* out, size_t size);
bool ParseSlotKey(const KeyText& value, Settings& s, int slot);
void ShowSlotKey(const Settings& s, int slot, ShowStyle style, char* out, size_t size);
bool ParseModifier(const KeyText& value, Settings& s, int slot);
void ShowModifier(const Settings& s, int slot, ShowStyle style, char* out, size_t size);
bool ParseNames(const KeyText& value, Settings& s, int slot);
void ShowNames(const Settings& s, int slot, ShowStyle style, char* out, size_t size);
bool ParseCornerKey(const KeyText& value, Settings& s, int slot);
void ShowCorner(const Settings& s, int slot, ShowStyle style, char* out, size_t size);
bool ParseScale(const KeyText& value, Settings& s, int slot);
void ShowScale(const Settings& s, int slot, ShowStyle style, char* out, size_t size);
bool ParseOffsetX(const KeyText& value, Settings& s, int slot);
bool ParseOffsetY(const KeyText& value, Settings& s, int slot);
void ShowOffsetX(const Settings& s, int slot, ShowStyle style, char* out, size_t size);
void ShowOffsetY(const Settings& s, int slot, ShowStyle style, char* out, size_t size);
bool ParseOpacity(const KeyText& value, Settings& s, int slot);
void ShowOpacity(const Settings& s, int slot, ShowStyle style, char* out, size_t size);
bool ParseLanguage(const KeyText& value, Settings& s, int slot);
void ShowLanguage(const Settings& s, int slot, ShowStyle style, char* out, size_t size);
bool ParseController(const KeyText& value, Settings& s, int slot);
void ShowController(const Settings& s, int slot, ShowStyle style, char* out, size_t size);
bool ParseHdr(const KeyText& value, Settings& s, int slot);
void ShowHdr(const Settings& s, int slot, ShowStyle style, char* out, size_t size);
bool ParsePaperWhite(const KeyText& value, Settings& s, int slot);
void ShowPaperWhite(const Settings& s, int slot, ShowStyle style, char* out, size_t size);
bool ParseMenuEnable(const KeyText& value, Settings& s, int slot);
void ShowMenuEnable(const Settings& s, int slot, ShowStyle style, char* out, size_t size);
bool ParseMenuOpen(const KeyText& value, Settings& s, int slot);
void ShowMenuOpen(const Settings& s, int slot, ShowStyle style, char* out, size_t size);
bool ParseMenuHold(const KeyText& value, Settings& s, int slot);
void ShowMenuHold(const Settings& s, int slot, ShowStyle style, char* out, size_t size);
bool ParseMenuKey(const KeyText& value, Settings& s, int slot);
void ShowMenuKey(const Settings& s, int slot, ShowStyle style, char* out, size_t size);
void ShowNothing(const Settings& s, int slot, ShowStyle style, char* out, size_t size);

// An on/off key bound to one bool member.
template <bool Settings::*Field>
bool ParseSwitchInto(const KeyText& value, Settings& s, int /*slot*/) {
  return ParseSwitch(value.text, &(s.*Field));
}
template <bool Settings::*Field>
void ShowSwitch(const Settings& s, int /*slot*/, ShowStyle style, char* out, size_t size) {
  ShowSwitchValue(s.*Field, style, out, size);
}

template <bool OverlaySettings::*Field>
bool ParseOverlaySwitch(const KeyText& value, Settings& s, int /*slot*/) {
  return ParseSwitch(value.text, &(s.overlay.*Field));
}
template <bool OverlaySettings::*Field>
void ShowOverlaySwitch(const Settings& s, int /*slot*/, ShowStyle style, char* out, size_t size) {
  ShowSwitchValue(s.overlay.*Field, style, out, size);
}

template <bool PanelLayout::*Field>
bool ParseLayoutSwitch(const KeyText& value, Settings& s, int /*slot*/) {
  return ParseSwitch(value.text, &(s.overlay.layout.*Field));
}
template <bool PanelLayout::*Field>
void ShowLayoutSwitch(const Settings& s, int /*slot*/, ShowStyle style, char* out, size_t size) {
  ShowSwitchValue(s.overlay.layout.*Field, style, out, size);
}

// Numbers as the profile functions convert them, with a floor.
template <uint32_t Settings::*Field, uint32_t Floor, bool ZeroIsOne>
bool ParseNumber(const KeyText& value, Settings& s, int /*slot*/) {
  uint32_t number = value.number;
  if (ZeroIsOne && number == 0) number = 1;
  if (number < Floor) number = Floor;
  s.*Field = number;
  return true;
}
template <uint32_t Settings::*Field>
void ShowNumber(const Settings& s, int /*slot*/, ShowStyle /*style*/, char* out, size_t size) {
  ShowUnsigned(s.*Field, out, size);
}

}  // namespace artwheel
