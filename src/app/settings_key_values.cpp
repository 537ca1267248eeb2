#include "app/settings_key_values.h"

#include <iterator>
#include <string_view>

#include "app/slot_value.h"
#include "base/ini_text.h"
#include "base/text_format.h"

namespace artwheel {
namespace {

void ShowWhole(int32_t value, char* out, size_t size) { FormatText(out, size, "%d", value); }

void ShowText(const char* text, char* out, size_t size) { FormatText(out, size, "%s", text); }

bool ParseInRange(std::string_view text, int32_t low, int32_t high, int32_t* out) {
  int32_t number = 0;
  if (!ParseWholeNumber(text, &number) || number < low || number > high) return false;
  *out = number;
  return true;
}

// A whole number from `low` to `high` into an unsigned field.
bool ParseCountInRange(std::string_view text, uint32_t low, uint32_t high, uint32_t* out) {
  int32_t number = 0;
  if (!ParseInRange(text, static_cast<int32_t>(low), static_cast<int32_t>(high), &number)) {
    return false;
  }
  *out = static_cast<uint32_t>(number);
  return true;
}

// One of the first `count` words of a list, in any letter case, as the
// choice of that index; false (and *out untouched) for any other text.
template <typename Choice>
bool ParseWordOf(std::string_view text, const char* const* words, size_t count, Choice* out) {
  for (size_t i = 0; i < count; ++i) {
    if (EqualsIgnoreCaseAscii(text, words[i])) {
      *out = static_cast<Choice>(i);
      return true;
    }
  }
  return false;
}

constexpr const char* kHdrWords[] = {"Off", "Auto", "PQ", "scRGB"};

constexpr const char* kMenuOpenWords[] = {"Back", "Start", "LS", "RS"};

}  // namespace

void ShowSwitchValue(bool on, ShowStyle style, char* out, size_t size) {
  if (style == ShowStyle::kLog) {
    ShowText(on ? "ON" : "OFF", out, size);
  } else {
    ShowText(on ? "1" : "0", out, size);
  }
}

void ShowUnsigned(uint32_t value, char* out, size_t size) { FormatText(out, size, "%u", value); }

// IsDebug keeps its own words: anything but true, 1, yes, on is off.
bool ParseDebug(const KeyText& value, Settings& s, int /*slot*/) {
  s.logEnabled = ParseBool(value.text);
  return true;
}

// [Slots]: the number the profile functions read. Text that is no number is
// read that way at start (and saved so); at a reload the slot keeps its art.
bool ParseSlotArt(const KeyText& value, Settings& s, int slot) {
  if (!value.atStart && ClassifySlotValue(value.text) == SlotValue::kNotANumber) return false;
  s.slotArtIds[slot] = value.number;
  return true;
}
void ShowSlotArt(const Settings& s, int slot, ShowStyle /*style*/, char* out, size_t size) {
  ShowUnsigned(s.slotArtIds[slot], out, size);
}

bool ParseSlotKey(const KeyText& value, Settings& s, int slot) {
  if (value.text.empty()) {
    s.slotKeys[slot] = KeyBinding{};
    return true;
  }
  KeyBinding parsed;
  if (!ParseKeyName(value.text, &parsed)) return false;
  s.slotKeys[slot] = parsed;
  return true;
}
void ShowSlotKey(const Settings& s, int slot, ShowStyle /*style*/, char* out, size_t size) {
  ShowText(s.slotKeys[slot].virtualKey != 0 ? s.slotKeys[slot].name : "", out, size);
}

bool ParseModifier(const KeyText& value, Settings& s, int /*slot*/) {
  return ParseHeldButton(value.text, &s.heldButton);
}
void ShowModifier(const Settings& s, int /*slot*/, ShowStyle /*style*/, char* out, size_t size) {
  ShowText(kHeldButtons[static_cast<int>(s.heldButton)].configName, out, size);
}

bool ParseNames(const KeyText& value, Settings& s, int /*slot*/) {
  return ParseButtonNames(value.text, &s.buttonNames);
}
void ShowNames(const Settings& s, int /*slot*/, ShowStyle /*style*/, char* out, size_t size) {
  ShowText(s.buttonNames == ButtonNames::kPlayStation ? "PlayStation" : "Xbox", out, size);
}

bool ParseCornerKey(const KeyText& value, Settings& s, int /*slot*/) {
  return ParseCorner(value.text, &s.overlay.layout.corner);
}
void ShowCorner(const Settings& s, int /*slot*/, ShowStyle /*style*/, char* out, size_t size) {
  ShowText(CornerName(s.overlay.layout.corner), out, size);
}

bool ParseScale(const KeyText& value, Settings& s, int /*slot*/) {
  uint32_t milli = 0;
  if (!ParseScaleMilli(value.text, &milli) || milli < kMinScaleMilli || milli > kMaxScaleMilli) {
    return false;
  }
  s.overlay.layout.scaleMilli = milli;
  return true;
}
void ShowScale(const Settings& s, int /*slot*/, ShowStyle /*style*/, char* out, size_t size) {
  FormatScaleMilli(s.overlay.layout.scaleMilli, out, size);
}

bool ParseOffsetX(const KeyText& value, Settings& s, int /*slot*/) {
  return ParseInRange(value.text, -kMaxOffset, kMaxOffset, &s.overlay.layout.offsetX);
}
bool ParseOffsetY(const KeyText& value, Settings& s, int /*slot*/) {
  return ParseInRange(value.text, -kMaxOffset, kMaxOffset, &s.overlay.layout.offsetY);
}
void ShowOffsetX(const Settings& s, int /*slot*/, ShowStyle /*style*/, char* out, size_t size) {
  ShowWhole(s.overlay.layout.offsetX, out, size);
}
void ShowOffsetY(const Settings& s, int /*slot*/, ShowStyle /*style*/, char* out, size_t size) {
  ShowWhole(s.overlay.layout.offsetY, out, size);
}

bool ParseOpacity(const KeyText& value, Settings& s, int /*slot*/) {
  return ParseCountInRange(value.text, kMinOpacityPercent, kDefaultOpacityPercent,
                           &s.overlay.layout.opacityPercent);
}
void ShowOpacity(const Settings& s, int /*slot*/, ShowStyle /*style*/, char* out, size_t size) {
  ShowUnsigned(s.overlay.layout.opacityPercent, out, size);
}

bool ParseLanguage(const KeyText& value, Settings& s, int /*slot*/) {
  return ParseWordOf(value.text, kLanguageCodes, kLanguageValueCount, &s.language);
}
void ShowLanguage(const Settings& s, int /*slot*/, ShowStyle /*style*/, char* out, size_t size) {
  ShowText(kLanguageCodes[static_cast<int>(s.language)], out, size);
}

bool ParseController(const KeyText& value, Settings& s, int /*slot*/) {
  if (EqualsIgnoreCaseAscii(value.text, "Auto")) {
    s.controller = PadChoice::kAuto;
    return true;
  }
  int32_t player = 0;
  if (!ParseInRange(value.text, 1, 4, &player)) return false;
  s.controller = static_cast<PadChoice>(player);
  return true;
}
void ShowController(const Settings& s, int /*slot*/, ShowStyle /*style*/, char* out, size_t size) {
  if (s.controller == PadChoice::kAuto) {
    ShowText("Auto", out, size);
  } else {
    ShowUnsigned(static_cast<uint32_t>(s.controller), out, size);
  }
}

bool ParseHdr(const KeyText& value, Settings& s, int /*slot*/) {
  return ParseWordOf(value.text, kHdrWords, std::size(kHdrWords), &s.overlay.hdr);
}
void ShowHdr(const Settings& s, int /*slot*/, ShowStyle /*style*/, char* out, size_t size) {
  ShowText(kHdrWords[static_cast<int>(s.overlay.hdr)], out, size);
}

bool ParsePaperWhite(const KeyText& value, Settings& s, int /*slot*/) {
  return ParseCountInRange(value.text, kMinPaperWhiteNits, kMaxPaperWhiteNits,
                           &s.overlay.hdrPaperWhiteNits);
}
void ShowPaperWhite(const Settings& s, int /*slot*/, ShowStyle /*style*/, char* out, size_t size) {
  ShowUnsigned(s.overlay.hdrPaperWhiteNits, out, size);
}

bool ParseMenuEnable(const KeyText& value, Settings& s, int /*slot*/) {
  return ParseSwitch(value.text, &s.menu.enabled);
}
void ShowMenuEnable(const Settings& s, int /*slot*/, ShowStyle style, char* out, size_t size) {
  ShowSwitchValue(s.menu.enabled, style, out, size);
}

bool ParseMenuOpen(const KeyText& value, Settings& s, int /*slot*/) {
  return ParseWordOf(value.text, kMenuOpenWords, std::size(kMenuOpenWords), &s.menu.open);
}
void ShowMenuOpen(const Settings& s, int /*slot*/, ShowStyle /*style*/, char* out, size_t size) {
  ShowText(kMenuOpenWords[static_cast<int>(s.menu.open)], out, size);
}

bool ParseMenuHold(const KeyText& value, Settings& s, int /*slot*/) {
  return ParseCountInRange(value.text, kMinMenuHoldMs, kMaxMenuHoldMs, &s.menu.holdMs);
}
void ShowMenuHold(const Settings& s, int /*slot*/, ShowStyle /*style*/, char* out, size_t size) {
  ShowUnsigned(s.menu.holdMs, out, size);
}

bool ParseMenuKey(const KeyText& value, Settings& s, int /*slot*/) {
  if (value.text.empty()) {
    s.menu.key = KeyBinding{};
    return true;
  }
  KeyBinding parsed;
  if (!ParseKeyName(value.text, &parsed)) return false;
  s.menu.key = parsed;
  return true;
}
void ShowMenuKey(const Settings& s, int /*slot*/, ShowStyle /*style*/, char* out, size_t size) {
  ShowText(s.menu.key.virtualKey != 0 ? s.menu.key.name : "", out, size);
}

void ShowNothing(const Settings& /*s*/, int /*slot*/, ShowStyle /*style*/, char* out, size_t size) {
  ShowText("", out, size);
}

}  // namespace artwheel
