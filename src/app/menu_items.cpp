#include "app/menu_items.h"

#include <cstring>

#include "base/text_format.h"
#include "overlay/panel_layout.h"
#include "words/language.h"

namespace artwheel {
namespace {

constexpr size_t kShownTextSize = 64;
constexpr const char* kOnOff[] = {"1", "0"};
constexpr const char* kHeldButtonTexts[] = {"DPadDown", "DPadUp", "DPadLeft", "DPadRight", "LB",
                                            "RB",       "Back",   "LS",       "RS"};
constexpr const char* kNamesTexts[] = {"Xbox", "PlayStation"};
constexpr const char* kControllerTexts[] = {"Auto", "1", "2", "3", "4"};
constexpr const char* kCornerTexts[] = {"BottomRight", "BottomLeft", "TopRight", "TopLeft"};
constexpr const char* kHdrTexts[] = {"Off", "Auto", "PQ", "scRGB"};

constexpr int Count(const auto& texts) { return static_cast<int>(sizeof texts / sizeof texts[0]); }

constexpr MenuItem List(MenuItemId id, const char* section, const char* key,
                        const char* const* texts, int count) {
  return MenuItem{id, section, key, texts, count, 0, 0, 0, false};
}

constexpr MenuItem Range(MenuItemId id, const char* section, const char* key, int32_t low,
                         int32_t high, int32_t step, bool thousandths) {
  return MenuItem{id, section, key, nullptr, 0, low, high, step, thousandths};
}

// The range's number of the settings' value, read back from its shown text.
bool RangeNumber(const MenuItem& item, const Settings& settings, int32_t* number) {
  const SettingKey* key = MenuItemKey(item);
  if (key == nullptr) return false;
  char text[kShownTextSize];
  ShowKey(*key, settings, ShowStyle::kFile, text, sizeof text);
  if (!item.thousandths) return ParseWholeNumber(text, number);
  uint32_t milli = 0;
  if (!ParseScaleMilli(text, &milli)) return false;
  *number = static_cast<int32_t>(milli);
  return true;
}

bool SetMenuValue(const MenuItem& item, Settings& settings, int index) {
  char text[kShownTextSize];
  MenuValueText(item, index, text, sizeof text);
  const SettingKey* key = MenuItemKey(item);
  return key != nullptr && ParseKeyText(*key, text, false, settings);
}

}  // namespace

const MenuItem kMenuItems[kMenuItemCount] = {
    List(MenuItemId::kCombinations, "Combination", "Enable", kOnOff, Count(kOnOff)),
    List(MenuItemId::kHeldButton, "Combination", "Modifier", kHeldButtonTexts,
         Count(kHeldButtonTexts)),
    List(MenuItemId::kButtonNames, "Combination", "ButtonNames", kNamesTexts, Count(kNamesTexts)),
    List(MenuItemId::kController, "Combination", "Controller", kControllerTexts,
         Count(kControllerTexts)),
    List(MenuItemId::kSkillPanel, "SkillPanel", "Enable", kOnOff, Count(kOnOff)),
    List(MenuItemId::kCorner, "SkillPanel", "Corner", kCornerTexts, Count(kCornerTexts)),
    Range(MenuItemId::kScale, "SkillPanel", "Scale", 500, 3000, 250, true),
    Range(MenuItemId::kOpacity, "SkillPanel", "Opacity", 10, 100, 10, false),
    List(MenuItemId::kSlotWheel, "SkillPanel", "ShowSlots", kOnOff, Count(kOnOff)),
    List(MenuItemId::kLanguage, "General", "Language", kLanguageCodes, kLanguageValueCount),
    List(MenuItemId::kHdr, "Overlay", "Hdr", kHdrTexts, Count(kHdrTexts)),
    Range(MenuItemId::kPaperWhite, "Overlay", "HdrPaperWhite", 80, 1000, 20, false),
    MenuItem{MenuItemId::kClose, nullptr, nullptr, nullptr, 0, 0, 0, 0, false},
};

const SettingKey* MenuItemKey(const MenuItem& item) {
  if (item.section == nullptr) return nullptr;
  for (size_t i = 0; i < kSettingKeyCount; ++i) {
    const SettingKey& key = kSettingKeys[i];
    if (std::strcmp(key.section, item.section) == 0 && std::strcmp(key.name, item.key) == 0) {
      return &key;
    }
  }
  return nullptr;
}

int MenuValueCount(const MenuItem& item) {
  if (item.texts != nullptr) return item.textCount;
  if (item.step <= 0) return 0;
  return (item.high - item.low) / item.step + 1;
}

void MenuValueText(const MenuItem& item, int index, char* out, size_t size) {
  if (index < 0 || index >= MenuValueCount(item)) {
    FormatText(out, size, "%s", "");
  } else if (item.texts != nullptr) {
    FormatText(out, size, "%s", item.texts[index]);
  } else if (item.thousandths) {
    FormatScaleMilli(static_cast<uint32_t>(item.low + index * item.step), out, size);
  } else {
    FormatText(out, size, "%d", item.low + index * item.step);
  }
}

int MenuValueIndex(const MenuItem& item, const Settings& settings) {
  const SettingKey* key = MenuItemKey(item);
  if (key == nullptr) return -1;
  if (item.texts == nullptr) {
    int32_t number = 0;
    if (!RangeNumber(item, settings, &number) || number < item.low || number > item.high ||
        (number - item.low) % item.step != 0) {
      return -1;
    }
    return (number - item.low) / item.step;
  }
  char shown[kShownTextSize];
  ShowKey(*key, settings, ShowStyle::kFile, shown, sizeof shown);
  for (int i = 0; i < item.textCount; ++i) {
    if (std::strcmp(shown, item.texts[i]) == 0) return i;
  }
  return -1;
}

bool StepMenuValue(const MenuItem& item, Settings& settings, int direction) {
  const int count = MenuValueCount(item);
  if (MenuItemKey(item) == nullptr || count == 0) return false;
  const int index = MenuValueIndex(item, settings);
  int next = 0;
  if (item.texts != nullptr) {
    next = index < 0 ? 0 : (index + direction + count) % count;
  } else if (index >= 0) {
    next = index + direction;
    if (next < 0 || next >= count) return false;
  } else {
    int32_t number = 0;
    if (!RangeNumber(item, settings, &number)) return false;
    // Between two steps, or outside the range: the next step that way.
    next = direction > 0 ? 0 : count - 1;
    while (next >= 0 && next < count) {
      const int32_t value = item.low + next * item.step;
      if (direction > 0 ? value > number : value < number) break;
      next += direction;
    }
    if (next < 0 || next >= count) return false;
  }
  if (next == index) return false;
  return SetMenuValue(item, settings, next);
}

MenuOutcome ApplyMenuCommand(MenuModel& model, Settings& settings, MenuCommand command) {
  const MenuItem& item = kMenuItems[model.selected];
  switch (command) {
    case MenuCommand::kUp:
      model.selected = (model.selected + kMenuItemCount - 1) % kMenuItemCount;
      return MenuOutcome::kMoved;
    case MenuCommand::kDown:
      model.selected = (model.selected + 1) % kMenuItemCount;
      return MenuOutcome::kMoved;
    case MenuCommand::kAccept:
      if (item.id == MenuItemId::kClose) return MenuOutcome::kClose;
      [[fallthrough]];
    case MenuCommand::kRight:
      return StepMenuValue(item, settings, 1) ? MenuOutcome::kChanged : MenuOutcome::kNothing;
    case MenuCommand::kLeft:
      return StepMenuValue(item, settings, -1) ? MenuOutcome::kChanged : MenuOutcome::kNothing;
    case MenuCommand::kBack:
      return MenuOutcome::kClose;
    case MenuCommand::kNone:
      break;
  }
  return MenuOutcome::kNothing;
}

int ChangedMenuKeys(const Settings& before, const Settings& after,
                    const SettingKey* (&keys)[kMenuItemCount]) {
  int count = 0;
  for (const MenuItem& item : kMenuItems) {
    const SettingKey* key = MenuItemKey(item);
    if (key != nullptr && !SameKeyValue(*key, before, after)) keys[count++] = key;
  }
  return count;
}

}  // namespace artwheel
