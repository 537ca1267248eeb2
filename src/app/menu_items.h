#pragma once
// The settings menu's items, each bound to one row of the key table: the
// values it steps through are texts that row's parser takes and its shower
// prints, so a change in the menu is a change of the key. Platform-free.
#include <cstddef>
#include <cstdint>

#include "app/settings_keys.h"
#include "app/settings_record.h"
#include "input/menu_navigation.h"

namespace artwheel {

enum class MenuItemId : uint8_t {
  kCombinations,
  kHeldButton,
  kButtonNames,
  kController,
  kSkillPanel,
  kCorner,
  kScale,
  kOpacity,
  kSlotWheel,
  kLanguage,
  kHdr,
  kPaperWhite,
  kClose,
};
inline constexpr int kMenuItemCount = 13;

// An item's values: a list of texts that goes round, or a range of whole
// numbers (in thousandths for a decimal key) that stops at its ends.
struct MenuItem {
  MenuItemId id;
  const char* section;  // null for Close
  const char* key;
  const char* const* texts;
  int textCount;
  int32_t low;
  int32_t high;
  int32_t step;
  bool thousandths;
};

extern const MenuItem kMenuItems[kMenuItemCount];

// The row of the key table the item changes; null for Close.
const SettingKey* MenuItemKey(const MenuItem& item);

int MenuValueCount(const MenuItem& item);
// The value's text as the file holds it ("BottomRight", "0.75", "80").
void MenuValueText(const MenuItem& item, int index, char* out, size_t size);
// The place of the settings' value among the item's values; -1 when it is
// none of them (a scale of 1.1 written by hand).
int MenuValueIndex(const MenuItem& item, const Settings& settings);

// One step left (-1) or right (+1): a list goes round, a range stops at its
// ends (a value between two steps goes to the next step that way). False
// when nothing changed.
bool StepMenuValue(const MenuItem& item, Settings& settings, int direction);

// What a command did to the menu.
enum class MenuOutcome : uint8_t { kNothing, kMoved, kChanged, kClose };

struct MenuModel {
  int selected = 0;  // the first item when it opens
};

// Up and Down move between the items and go round; Left and Right change the
// selected value; Accept acts as Right, and on Close closes; Back closes.
MenuOutcome ApplyMenuCommand(MenuModel& model, Settings& settings, MenuCommand command);

// The keys of the menu's items whose values differ between the two records,
// in the items' order; returns their number.
int ChangedMenuKeys(const Settings& before, const Settings& after,
                    const SettingKey* (&keys)[kMenuItemCount]);

}  // namespace artwheel
