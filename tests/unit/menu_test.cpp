// The settings menu: its items against the key table, the moves through it,
// the chord that opens it and the repeat of a held direction.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/menu_items.h"
#include "input/menu_chord.h"
#include "input/menu_navigation.h"

namespace artwheel {
namespace {

std::string Shown(const SettingKey& key, const Settings& settings) {
  char text[64];
  ShowKey(key, settings, ShowStyle::kFile, text, sizeof text);
  return text;
}

std::string ValueText(const MenuItem& item, int index) {
  char text[64];
  MenuValueText(item, index, text, sizeof text);
  return text;
}

std::vector<std::string> Values(const MenuItem& item) {
  std::vector<std::string> values;
  for (int i = 0; i < MenuValueCount(item); ++i) values.push_back(ValueText(item, i));
  return values;
}

const MenuItem& Item(MenuItemId id) { return kMenuItems[static_cast<int>(id)]; }

TEST(MenuItems, EveryValueIsOneItsRowTakesAndShowsAndStepsReachEachInTurn) {
  for (int i = 0; i < kMenuItemCount; ++i) {
    const MenuItem& item = kMenuItems[i];
    EXPECT_EQ(static_cast<int>(item.id), i);
    const SettingKey* key = MenuItemKey(item);
    if (item.id == MenuItemId::kClose) {
      EXPECT_EQ(key, nullptr);
      continue;
    }
    ASSERT_NE(key, nullptr) << item.section << " " << item.key;
    ASSERT_NE(key->parse, nullptr);
    const int count = MenuValueCount(item);
    ASSERT_GE(count, 2) << item.key;
    for (int v = 0; v < count; ++v) {
      Settings settings;
      const std::string text = ValueText(item, v);
      KeyText value;
      value.text = text;
      value.number = static_cast<uint32_t>(std::atoi(text.c_str()));
      value.atStart = false;
      EXPECT_TRUE(key->parse(value, settings, key->slot)) << item.key << "=" << text;
      EXPECT_EQ(Shown(*key, settings), text) << item.key;
      EXPECT_EQ(MenuValueIndex(item, settings), v) << item.key << "=" << text;
    }
    // From the first value, Right walks through every value in order.
    Settings walked;
    KeyText first;
    const std::string firstText = ValueText(item, 0);
    first.text = firstText;
    first.number = static_cast<uint32_t>(std::atoi(firstText.c_str()));
    ASSERT_TRUE(key->parse(first, walked, key->slot));
    for (int v = 1; v < count; ++v) {
      ASSERT_TRUE(StepMenuValue(item, walked, 1)) << item.key;
      EXPECT_EQ(Shown(*key, walked), ValueText(item, v)) << item.key;
    }
  }
}

TEST(MenuItems, TheValuesAreThePlayersChoices) {
  EXPECT_EQ(Values(Item(MenuItemId::kCombinations)), (std::vector<std::string>{"1", "0"}));
  EXPECT_EQ(Values(Item(MenuItemId::kHeldButton)),
            (std::vector<std::string>{"DPadDown", "DPadUp", "DPadLeft", "DPadRight", "LB", "RB",
                                      "Back", "LS", "RS"}));
  EXPECT_EQ(Values(Item(MenuItemId::kController)),
            (std::vector<std::string>{"Auto", "1", "2", "3", "4"}));
  EXPECT_EQ(Values(Item(MenuItemId::kCorner)),
            (std::vector<std::string>{"BottomRight", "BottomLeft", "TopRight", "TopLeft"}));
  const std::vector<std::string> scales = Values(Item(MenuItemId::kScale));
  ASSERT_EQ(scales.size(), 11u);
  EXPECT_EQ(scales[0], "0.5");
  EXPECT_EQ(scales[1], "0.75");
  EXPECT_EQ(scales[2], "1.0");
  EXPECT_EQ(scales[10], "3.0");
  const std::vector<std::string> opacities = Values(Item(MenuItemId::kOpacity));
  EXPECT_EQ(opacities.front(), "10");
  EXPECT_EQ(opacities.back(), "100");
  EXPECT_EQ(opacities.size(), 10u);
  const std::vector<std::string> whites = Values(Item(MenuItemId::kPaperWhite));
  EXPECT_EQ(whites.front(), "80");
  EXPECT_EQ(whites[1], "100");
  EXPECT_EQ(whites.back(), "1000");
  const std::vector<std::string> languages = Values(Item(MenuItemId::kLanguage));
  ASSERT_FALSE(languages.empty());
  EXPECT_EQ(languages.front(), "Auto");
  EXPECT_EQ(Values(Item(MenuItemId::kHdr)),
            (std::vector<std::string>{"Off", "Auto", "PQ", "scRGB"}));
}

TEST(MenuItems, ListsGoRoundRangesStopAndAValueBetweenStepsGoesToTheNextStep) {
  Settings s;
  const MenuItem& corner = Item(MenuItemId::kCorner);
  s.overlay.layout.corner = PanelCorner::kTopLeft;
  EXPECT_TRUE(StepMenuValue(corner, s, 1));
  EXPECT_EQ(s.overlay.layout.corner, PanelCorner::kBottomRight);
  EXPECT_TRUE(StepMenuValue(corner, s, -1));
  EXPECT_EQ(s.overlay.layout.corner, PanelCorner::kTopLeft);

  const MenuItem& scale = Item(MenuItemId::kScale);
  s.overlay.layout.scaleMilli = 3000;
  EXPECT_FALSE(StepMenuValue(scale, s, 1));
  EXPECT_EQ(s.overlay.layout.scaleMilli, 3000u);
  s.overlay.layout.scaleMilli = 500;
  EXPECT_FALSE(StepMenuValue(scale, s, -1));
  s.overlay.layout.scaleMilli = 1100;  // written by hand
  EXPECT_EQ(MenuValueIndex(scale, s), -1);
  EXPECT_TRUE(StepMenuValue(scale, s, 1));
  EXPECT_EQ(s.overlay.layout.scaleMilli, 1250u);
  s.overlay.layout.scaleMilli = 1100;
  EXPECT_TRUE(StepMenuValue(scale, s, -1));
  EXPECT_EQ(s.overlay.layout.scaleMilli, 1000u);

  const MenuItem& opacity = Item(MenuItemId::kOpacity);
  s.overlay.layout.opacityPercent = 15;
  EXPECT_TRUE(StepMenuValue(opacity, s, -1));
  EXPECT_EQ(s.overlay.layout.opacityPercent, 10u);
  EXPECT_FALSE(StepMenuValue(opacity, s, -1));
}

TEST(MenuItems, UpDownGoRoundAcceptIsRightBackAndAcceptOnCloseClose) {
  Settings s;
  MenuModel model;
  EXPECT_EQ(model.selected, 0);
  EXPECT_EQ(ApplyMenuCommand(model, s, MenuCommand::kUp), MenuOutcome::kMoved);
  EXPECT_EQ(model.selected, kMenuItemCount - 1);
  EXPECT_EQ(kMenuItems[model.selected].id, MenuItemId::kClose);
  EXPECT_EQ(ApplyMenuCommand(model, s, MenuCommand::kRight), MenuOutcome::kNothing);
  EXPECT_EQ(ApplyMenuCommand(model, s, MenuCommand::kAccept), MenuOutcome::kClose);
  EXPECT_EQ(ApplyMenuCommand(model, s, MenuCommand::kDown), MenuOutcome::kMoved);
  EXPECT_EQ(model.selected, 0);
  // Combinations: on, A turns them off and on again.
  EXPECT_EQ(ApplyMenuCommand(model, s, MenuCommand::kAccept), MenuOutcome::kChanged);
  EXPECT_FALSE(s.combinationEnabled);
  EXPECT_EQ(ApplyMenuCommand(model, s, MenuCommand::kLeft), MenuOutcome::kChanged);
  EXPECT_TRUE(s.combinationEnabled);
  EXPECT_EQ(ApplyMenuCommand(model, s, MenuCommand::kBack), MenuOutcome::kClose);
  EXPECT_EQ(ApplyMenuCommand(model, s, MenuCommand::kNone), MenuOutcome::kNothing);
}

TEST(MenuItems, OnlyTheChangedKeysOfTheItemsAreSaved) {
  const Settings before;
  Settings after = before;
  const SettingKey* keys[kMenuItemCount] = {};
  EXPECT_EQ(ChangedMenuKeys(before, after, keys), 0);
  after.overlay.layout.corner = PanelCorner::kTopLeft;
  after.overlay.layout.scaleMilli = 1500;
  after.slotArtIds[0] = 5000;  // not one of the menu's
  after.overlay.layout.offsetX = 10;
  ASSERT_EQ(ChangedMenuKeys(before, after, keys), 2);
  EXPECT_STREQ(keys[0]->name, "Corner");
  EXPECT_STREQ(keys[1]->name, "Scale");
  // Changed and changed back: nothing to save.
  after = before;
  after.heldButton = HeldButton::kLB;
  after.heldButton = before.heldButton;
  EXPECT_EQ(ChangedMenuKeys(before, after, keys), 0);
}

TEST(MenuChord, OpensOnceAfterTheHoldAndAShorterPressDoesNothing) {
  MenuChord chord;
  EXPECT_FALSE(HoldMenuChord(chord, true, 1000, 1000));
  EXPECT_FALSE(HoldMenuChord(chord, true, 1999, 1000));
  EXPECT_FALSE(HoldMenuChord(chord, false, 2016, 1000));  // let go after 999 ms
  EXPECT_FALSE(HoldMenuChord(chord, true, 3000, 1000));   // the time starts again
  EXPECT_FALSE(HoldMenuChord(chord, true, 3999, 1000));
  EXPECT_TRUE(HoldMenuChord(chord, true, 4000, 1000));
  EXPECT_FALSE(HoldMenuChord(chord, true, 9000, 1000));  // held on: once
  EXPECT_FALSE(HoldMenuChord(chord, false, 9016, 1000));
  EXPECT_FALSE(HoldMenuChord(chord, true, 9032, 300));
  EXPECT_TRUE(HoldMenuChord(chord, true, 9332, 300));
}

TEST(MenuChord, ThePressAgainClosesOnlyOnceTheOpeningPressWasLetGo) {
  MenuChord chord;
  chord.spent = true;  // the press that opened the menu
  EXPECT_FALSE(PressMenuChord(chord, true));
  EXPECT_FALSE(PressMenuChord(chord, false));
  EXPECT_TRUE(PressMenuChord(chord, true));
  EXPECT_FALSE(PressMenuChord(chord, true));
}

TEST(MenuChord, TheOpenButtonIsStartWhenItIsTheHeldButton) {
  constexpr uint16_t kBack = 0x0020;
  constexpr uint16_t kLS = 0x0040;
  EXPECT_EQ(MenuOpenBit(kBack, kButtonDpadDown), kBack);
  EXPECT_EQ(MenuOpenBit(kBack, kBack), kButtonStart);
  EXPECT_EQ(MenuOpenBit(kLS, kLS), kButtonStart);
}

MenuControls Down(bool down) {
  MenuControls c;
  c.down = down;
  return c;
}

TEST(MenuNavigation, AHeldDirectionRepeatsAfter400MsEvery100Ms) {
  MenuRepeat repeat;
  EXPECT_EQ(NextMenuCommand(repeat, Down(false), 0), MenuCommand::kNone);
  EXPECT_EQ(NextMenuCommand(repeat, Down(true), 1000), MenuCommand::kDown);
  std::vector<uint64_t> repeats;
  for (uint64_t t = 1016; t <= 1704; t += 16) {
    if (NextMenuCommand(repeat, Down(true), t) == MenuCommand::kDown) repeats.push_back(t);
  }
  // 1400, 1500, 1600 and 1700, each in the first tick at or after it.
  EXPECT_EQ(repeats, (std::vector<uint64_t>{1400, 1512, 1608, 1704}));
  EXPECT_EQ(NextMenuCommand(repeat, Down(false), 1720), MenuCommand::kNone);
  EXPECT_EQ(NextMenuCommand(repeat, Down(true), 1736), MenuCommand::kDown);
  EXPECT_EQ(NextMenuCommand(repeat, Down(true), 1752), MenuCommand::kNone);
}

TEST(MenuNavigation, WhatIsDownWhenTheMenuOpensActsOnlyWhenPressedAgain) {
  MenuRepeat repeat;
  MenuControls held = PadMenuControls(kButtonDpadDown | kButtonA);
  EXPECT_EQ(NextMenuCommand(repeat, held, 0), MenuCommand::kNone);
  EXPECT_EQ(NextMenuCommand(repeat, held, 800), MenuCommand::kNone);  // no repeat either
  const MenuControls both = CombineMenuControls(PadMenuControls(kButtonB), MenuControls{});
  EXPECT_EQ(NextMenuCommand(repeat, both, 816), MenuCommand::kBack);
  MenuControls keys;
  keys.accept = true;
  keys.back = true;
  EXPECT_EQ(NextMenuCommand(repeat, CombineMenuControls(both, keys), 832), MenuCommand::kAccept);
}

}  // namespace
}  // namespace artwheel
