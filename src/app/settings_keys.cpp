#include "app/settings_keys.h"

#include <cstring>

#include "app/settings_key_values.h"
#include "base/ini_text.h"
#include "base/text_format.h"

namespace artwheel {
namespace {

constexpr const char* kSwitchWords = "1 or 0, true or false, on or off, yes or no";
constexpr const char* kOffsets = "-10000 to 10000 pixels at 1080p";

// Rows of one shape: an on/off key, a [Slots] or [Keys] key.
constexpr SettingKey Switch(const char* section, const char* name, const char* defaultText,
                            Applies applies, ReadStep step, const char* summaryName,
                            int summaryOrder, const char* restartGroup,
                            bool (*parse)(const KeyText&, Settings&, int),
                            void (*show)(const Settings&, int, ShowStyle, char*, size_t),
                            bool writtenBack = false) {
  return SettingKey{
      section,     name,  defaultText, kSwitchWords, applies,      step,         Refusal::kNotValid,
      writtenBack, false, false,       summaryName,  summaryOrder, restartGroup, -1,
      parse,       show};
}

constexpr SettingKey SlotArt(const char* name, int slot, int summaryOrder) {
  return SettingKey{"Slots",
                    name,
                    "0",
                    nullptr,
                    Applies::kAtOnce,
                    ReadStep::kBeforeSummary,
                    Refusal::kSlotNumber,
                    true,
                    true,
                    false,
                    name,
                    summaryOrder,
                    nullptr,
                    slot,
                    &ParseSlotArt,
                    &ShowSlotArt};
}

constexpr SettingKey SlotKey(const char* name, int slot) {
  return SettingKey{"Keys",
                    name,
                    "",
                    nullptr,
                    Applies::kAtOnce,
                    ReadStep::kAfterSummary,
                    Refusal::kKeyName,
                    false,
                    false,
                    false,
                    nullptr,
                    0,
                    nullptr,
                    slot,
                    &ParseSlotKey,
                    &ShowSlotKey};
}

// A key that takes one of a few values and applies at once.
constexpr SettingKey Choice(const char* section, const char* name, const char* defaultText,
                            const char* valid, ReadStep step,
                            bool (*parse)(const KeyText&, Settings&, int),
                            void (*show)(const Settings&, int, ShowStyle, char*, size_t)) {
  return SettingKey{section,
                    name,
                    defaultText,
                    valid,
                    Applies::kAtOnce,
                    step,
                    Refusal::kNotValid,
                    false,
                    false,
                    false,
                    nullptr,
                    0,
                    nullptr,
                    -1,
                    parse,
                    show};
}

constexpr SettingKey PanelValue(const char* name, const char* defaultText, const char* valid,
                                bool (*parse)(const KeyText&, Settings&, int),
                                void (*show)(const Settings&, int, ShowStyle, char*, size_t)) {
  return Choice("SkillPanel", name, defaultText, valid, ReadStep::kBeforeSummary, parse, show);
}

constexpr SettingKey StartNumber(const char* section, const char* name, const char* defaultText,
                                 const char* summaryName, int summaryOrder,
                                 bool (*parse)(const KeyText&, Settings&, int),
                                 void (*show)(const Settings&, int, ShowStyle, char*, size_t)) {
  return SettingKey{section,
                    name,
                    defaultText,
                    nullptr,
                    Applies::kAtNextStart,
                    ReadStep::kBeforeSummary,
                    Refusal::kNone,
                    false,
                    true,
                    false,
                    summaryName,
                    summaryOrder,
                    section[0] == 'U' ? "[UIScan]" : "[HudProbe]",
                    -1,
                    parse,
                    show};
}

constexpr Applies kNow = Applies::kAtOnce;
constexpr Applies kNext = Applies::kAtNextStart;
constexpr ReadStep kFirst = ReadStep::kBeforeSummary;
constexpr ReadStep kLater = ReadStep::kAfterSummary;

}  // namespace

const SettingKey kSettingKeys[] = {
    {"General", "IsDebug", "false", nullptr, kNext, kFirst, Refusal::kNone, false, false, true,
     nullptr, 0, "IsDebug", -1, &ParseDebug, &ShowSwitch<&Settings::logEnabled>},
    Switch("General", "ApplyChanges", "0", kNext, kFirst, nullptr, 0, "[General] ApplyChanges",
           &ParseSwitchInto<&Settings::applyChanges>, &ShowSwitch<&Settings::applyChanges>),
    Choice("General", "Language", "en",
           "Auto, en, zh-Hans, zh-Hant, ja, ko, ru, es, pt-BR, fr, de, it or pl",
           ReadStep::kBeforeSummary, &ParseLanguage, &ShowLanguage),
    SlotArt("Y", 0, 1),
    SlotArt("A", 1, 2),
    SlotArt("B", 2, 3),
    SlotArt("X", 3, 4),
    Switch("Overlay", "Enable", "0", kNow, kFirst, "Overlay", 5, nullptr,
           &ParseSwitchInto<&Settings::overlayEnabled>, &ShowSwitch<&Settings::overlayEnabled>,
           true),
    Choice("Overlay", "Hdr", "Off", "Off, Auto, PQ or scRGB", ReadStep::kBeforeSummary, &ParseHdr,
           &ShowHdr),
    Choice("Overlay", "HdrPaperWhite", "203", "80 to 1000 nits", ReadStep::kBeforeSummary,
           &ParsePaperWhite, &ShowPaperWhite),
    Switch("SkillPanel", "Enable", "0", kNow, kFirst, "SkillPanel", 6, nullptr,
           &ParseSwitchInto<&Settings::skillPanelEnabled>,
           &ShowSwitch<&Settings::skillPanelEnabled>, true),
    Switch("SkillPanel", "AnyResolution", "0", kNow, kFirst, nullptr, 0, nullptr,
           &ParseOverlaySwitch<&OverlaySettings::anyResolution>,
           &ShowOverlaySwitch<&OverlaySettings::anyResolution>),
    PanelValue("Corner", "BottomRight", "BottomRight, BottomLeft, TopRight or TopLeft",
               &ParseCornerKey, &ShowCorner),
    PanelValue("Scale", "1.0", "0.5 to 3.0", &ParseScale, &ShowScale),
    PanelValue("OffsetX", "0", kOffsets, &ParseOffsetX, &ShowOffsetX),
    PanelValue("OffsetY", "0", kOffsets, &ParseOffsetY, &ShowOffsetY),
    PanelValue("Opacity", "100", "10 to 100", &ParseOpacity, &ShowOpacity),
    Switch("SkillPanel", "ShowSlots", "0", kNow, kFirst, nullptr, 0, nullptr,
           &ParseLayoutSwitch<&PanelLayout::showSlots>, &ShowLayoutSwitch<&PanelLayout::showSlots>),
    SlotKey("Y", 0),
    SlotKey("A", 1),
    SlotKey("B", 2),
    SlotKey("X", 3),
    Choice("Keys", "Menu", "", "a key name such as F11 or Shift+M", ReadStep::kAfterSummary,
           &ParseMenuKey, &ShowMenuKey),
    Switch("Combination", "Enable", "1", kNow, kLater, nullptr, 0, nullptr,
           &ParseSwitchInto<&Settings::combinationEnabled>,
           &ShowSwitch<&Settings::combinationEnabled>),
    {"Combination", "Modifier", "DPadDown", nullptr, kNow, kLater, Refusal::kButton, false, false,
     false, nullptr, 0, nullptr, -1, &ParseModifier, &ShowModifier},
    {"Combination", "ButtonNames", "Xbox", nullptr, kNow, kLater, Refusal::kNames, false, false,
     false, nullptr, 0, nullptr, -1, &ParseNames, &ShowNames},
    Choice("Combination", "Controller", "1", "Auto, or 1 to 4", ReadStep::kAfterSummary,
           &ParseController, &ShowController),
    Choice("Menu", "Enable", "0", kSwitchWords, ReadStep::kAfterSummary, &ParseMenuEnable,
           &ShowMenuEnable),
    Choice("Menu", "Open", "Back", "Back, Start, LS or RS", ReadStep::kAfterSummary, &ParseMenuOpen,
           &ShowMenuOpen),
    Choice("Menu", "HoldMs", "1000", "300 to 3000", ReadStep::kAfterSummary, &ParseMenuHold,
           &ShowMenuHold),
    {"Chainload", "chainDInput8dllPath", "", nullptr, kNext, kFirst, Refusal::kNone, false, false,
     false, nullptr, 0, "[Chainload]", -1, nullptr, &ShowNothing},
    Switch("UIScan", "Enable", "0", kNext, kFirst, "UIScan", 7, "[UIScan]",
           &ParseSwitchInto<&Settings::uiScanEnabled>, &ShowSwitch<&Settings::uiScanEnabled>),
    Switch("UIScan", "Detail", "0", kNext, kFirst, "Detail", 8, "[UIScan]",
           &ParseSwitchInto<&Settings::uiScanDetail>, &ShowSwitch<&Settings::uiScanDetail>),
    StartNumber("UIScan", "IntervalMs", "250", nullptr, 0,
                &ParseNumber<&Settings::uiScanIntervalMs, kMinUiScanIntervalMs, false>,
                &ShowNumber<&Settings::uiScanIntervalMs>),
    Switch("HudProbe", "Enable", "0", kNext, kFirst, "HudProbe", 9, "[HudProbe]",
           &ParseSwitchInto<&Settings::hudProbeEnabled>, &ShowSwitch<&Settings::hudProbeEnabled>),
    Switch("HudProbe", "GlobalFields", "0", kNext, kFirst, "GlobalFields", 10, "[HudProbe]",
           &ParseSwitchInto<&Settings::hudProbeGlobalFields>,
           &ShowSwitch<&Settings::hudProbeGlobalFields>),
    Switch("HudProbe", "DumpGlobalPointers", "0", kNext, kFirst, "DumpGlobalPointers", 11,
           "[HudProbe]", &ParseSwitchInto<&Settings::hudProbeDumpGlobalPointers>,
           &ShowSwitch<&Settings::hudProbeDumpGlobalPointers>),
    StartNumber("HudProbe", "DumpGlobalPointerLimit", "2000", "DumpGlobalPointerLimit", 12,
                &ParseNumber<&Settings::dumpGlobalPointerLimit, 0, true>,
                &ShowNumber<&Settings::dumpGlobalPointerLimit>),
};

const size_t kSettingKeyCount = sizeof kSettingKeys / sizeof kSettingKeys[0];

bool ParseSwitch(std::string_view text, bool* on) {
  size_t at = 0;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) at = 1;
  if (at < text.size() && text[at] >= '0' && text[at] <= '9') {
    // A whole number, as the profile functions read it: non-zero is on.
    bool nonZero = false;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
      nonZero = nonZero || text[at] != '0';
    }
    *on = nonZero;
    return true;
  }
  for (const char* word : {"true", "on", "yes"}) {
    if (EqualsIgnoreCaseAscii(text, word)) {
      *on = true;
      return true;
    }
  }
  for (const char* word : {"false", "off", "no"}) {
    if (EqualsIgnoreCaseAscii(text, word)) {
      *on = false;
      return true;
    }
  }
  return false;
}

void FormatScaleMilli(uint32_t milli, char* out, size_t size) {
  char decimals[4];
  FormatText(decimals, sizeof decimals, "%03u", milli % 1000);
  size_t used = 3;
  while (used > 1 && decimals[used - 1] == '0') --used;
  decimals[used] = '\0';
  FormatText(out, size, "%u.%s", milli / 1000, decimals);
}

void ShowKey(const SettingKey& key, const Settings& settings, ShowStyle style, char* out,
             size_t size) {
  key.show(settings, key.slot, style, out, size);
}

bool SameKeyValue(const SettingKey& key, const Settings& a, const Settings& b) {
  char left[64];
  char right[64];
  ShowKey(key, a, ShowStyle::kFile, left, sizeof left);
  ShowKey(key, b, ShowStyle::kFile, right, sizeof right);
  return std::strcmp(left, right) == 0;
}

bool ParseKeyText(const SettingKey& key, const char* text, bool atStart, Settings& settings) {
  if (key.parse == nullptr) return false;
  KeyText value;
  value.text = text;
  value.atStart = atStart;
  for (const char* c = text; *c >= '0' && *c <= '9'; ++c) {
    value.number = value.number * 10 + static_cast<uint32_t>(*c - '0');
  }
  return key.parse(value, settings, key.slot);
}

void ApplyKeyDefault(const SettingKey& key, Settings& settings) {
  ParseKeyText(key, key.defaultText, true, settings);
}

}  // namespace artwheel
