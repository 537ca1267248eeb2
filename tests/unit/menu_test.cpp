// The settings menu: its items against the key table, the moves through it,
// the chord that opens it and the repeat of a held direction.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "app/menu_items.h"
#include "app/menu_texts.h"
#include "input/combo.h"
#include "input/device_filter.h"
#include "input/menu_chord.h"
#include "input/menu_gate.h"
#include "input/menu_navigation.h"
#include "overlay/menu_view.h"

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

TEST(MenuTexts, EveryLanguageNamesEveryRowAndTheValuesAreWordsOrNumbers) {
  Settings s;
  s.overlay.layout.opacityPercent = 80;
  s.overlay.hdrPaperWhiteNits = 200;
  s.heldButton = HeldButton::kLB;
  s.language = Language::kDe;
  MenuModel model;
  model.selected = 5;
  for (int l = 1; l < kLanguageValueCount; ++l) {
    const auto language = static_cast<Language>(l);
    MenuLines lines;
    ComposeMenuLines(s, model, language, lines);
    EXPECT_EQ(lines.rowCount, kMenuItemCount);
    EXPECT_EQ(lines.selected, 5);
    EXPECT_EQ(lines.language, language);
    EXPECT_NE(lines.title[0], '\0');
    for (int i = 0; i < kMenuItemCount; ++i) {
      EXPECT_NE(lines.names[i][0], '\0') << kLanguageCodes[l] << " row " << i;
      EXPECT_EQ(lines.values[i][0] == '\0', i == kMenuItemCount - 1) << kLanguageCodes[l] << i;
    }
    EXPECT_STREQ(lines.values[static_cast<int>(MenuItemId::kLanguage)], "Deutsch");
    EXPECT_NE(std::string(lines.values[static_cast<int>(MenuItemId::kOpacity)]).find("80"),
              std::string::npos);
  }
  MenuLines english;
  ComposeMenuLines(s, model, Language::kEn, english);
  EXPECT_STREQ(english.values[static_cast<int>(MenuItemId::kOpacity)], "80 %");
  EXPECT_STREQ(english.values[static_cast<int>(MenuItemId::kPaperWhite)], "200 nits");
  EXPECT_STREQ(english.values[static_cast<int>(MenuItemId::kHeldButton)], "LB");
  EXPECT_STREQ(english.values[static_cast<int>(MenuItemId::kScale)], "1.0");
  EXPECT_STREQ(english.values[static_cast<int>(MenuItemId::kCorner)], "Bottom right");
  s.buttonNames = ButtonNames::kPlayStation;
  ComposeMenuLines(s, model, Language::kEn, english);
  EXPECT_STREQ(english.values[static_cast<int>(MenuItemId::kHeldButton)], "L1");
  char line[128];
  FormatMenuNotSaved(Language::kEn, 5, line, sizeof line);
  EXPECT_STREQ(line, "Settings changed (not saved: artwheel.ini is read-only)");
  FormatMenuNotSaved(Language::kEn, 1234, line, sizeof line);
  EXPECT_STREQ(line, "Settings changed (not saved: error 1234)");
}

TEST(MenuLayout, RowsAreSizedToTheFrameAndTheMenuIsCentredInsideIt) {
  const MenuBox full = LayOutMenu(1920, 1080, kMenuItemCount);
  EXPECT_EQ(full.rowHeight, 36);
  EXPECT_EQ(full.left, (1920 - full.width) / 2);
  EXPECT_EQ(full.top, (1080 - full.height) / 2);
  const MenuBox deck = LayOutMenu(1280, 800, kMenuItemCount);
  EXPECT_EQ(deck.rowHeight, 26);
  EXPECT_LE(deck.height, 800 * 9 / 10);
  EXPECT_LE(deck.width, 1280 * 9 / 10);
  const MenuBox tiny = LayOutMenu(320, 200, kMenuItemCount);
  EXPECT_LE(tiny.height, 200);
  EXPECT_GE(tiny.left, 0);
  EXPECT_GE(tiny.top, 0);
}

uint16_t Pad(MenuGate& gate, uint16_t buttons, uint8_t* trigger = nullptr,
             int16_t* thumbs = nullptr) {
  uint8_t left = 200;
  uint8_t right = 100;
  int16_t axes[4] = {1000, -1000, 2000, -2000};
  FilterMenuPad(gate, 2, PadFields{&buttons, &left, &right, axes});
  if (trigger != nullptr) *trigger = static_cast<uint8_t>(left | right);
  if (thumbs != nullptr) std::memcpy(thumbs, axes, sizeof axes);
  return buttons;
}

TEST(MenuGate, OpenThePadIsNeutralAfterClosingEachHeldButtonIsHiddenUntilReleased) {
  MenuGate gate;
  gate.pad = 1;
  gate.open = true;
  EXPECT_EQ(Pad(gate, 0x1003), 0x1003);  // another pad than the menu's
  gate.open = false;
  gate.pad = 2;
  uint8_t triggers = 0;
  int16_t thumbs[4] = {};
  EXPECT_EQ(Pad(gate, 0x1003, &triggers, thumbs), 0x1003);
  EXPECT_EQ(triggers, 200 | 100);
  gate.open = true;
  EXPECT_EQ(Pad(gate, 0x1003, &triggers, thumbs), 0);
  EXPECT_EQ(triggers, 0);
  EXPECT_EQ(thumbs[0] | thumbs[1] | thumbs[2] | thumbs[3], 0);
  EXPECT_TRUE(MenuHoldsJoystick(gate));
  // Closed with B and D-pad Down still down.
  gate.open = false;
  gate.heldAfterClose = kButtonB | kButtonDpadDown;
  EXPECT_EQ(Pad(gate, kButtonB | kButtonDpadDown | kButtonA, &triggers), kButtonA);
  EXPECT_EQ(triggers, 200 | 100);
  EXPECT_TRUE(MenuHoldsJoystick(gate));
  EXPECT_EQ(Pad(gate, kButtonDpadDown), 0);                    // B let go
  EXPECT_EQ(Pad(gate, kButtonDpadDown | kButtonB), kButtonB);  // a new press of B
  EXPECT_EQ(Pad(gate, 0), 0);
  EXPECT_EQ(gate.heldAfterClose, 0);
  EXPECT_FALSE(MenuHoldsJoystick(gate));
  EXPECT_EQ(Pad(gate, kButtonDpadDown), kButtonDpadDown);
}

std::vector<uint8_t> KeyEvents(std::initializer_list<std::pair<uint32_t, uint32_t>> events) {
  std::vector<uint8_t> records(24 * events.size(), 0);
  size_t i = 0;
  for (const auto& [code, data] : events) {
    std::memcpy(&records[24 * i], &code, 4);
    std::memcpy(&records[24 * i + 4], &data, 4);
    ++i;
  }
  return records;
}

TEST(MenuGate, TheHiddenKeysAreTakenFromTheKeyboardsStateAndPressesOnly) {
  MenuGate gate;
  gate.ownKeyCode = DirectInputKeyCode(0x7A);  // F11
  EXPECT_EQ(gate.ownKeyCode, 0x57);
  EXPECT_EQ(DirectInputKeyCode('Q'), 0x10);
  EXPECT_EQ(DirectInputKeyCode('0'), 0x0B);
  EXPECT_EQ(DirectInputKeyCode(0x2E), 0xD3);  // Delete
  EXPECT_EQ(DirectInputKeyCode(0x14), 0);
  std::vector<uint8_t> keys(256, 0x80);
  FilterMenuKeyboardState(gate, keys.data(), 256);
  EXPECT_EQ(keys[kDikUp], 0x80);  // nothing hidden yet
  gate.hiddenKeys = kAllMenuKeys;
  FilterMenuKeyboardState(gate, keys.data(), 256);
  for (uint8_t code : {kDikUp, kDikDown, kDikLeft, kDikRight, kDikEnter, kDikNumpadEnter,
                       kDikEscape, uint8_t{0x57}}) {
    EXPECT_EQ(keys[code], 0) << int{code};
  }
  EXPECT_EQ(keys[0x11], 0x80);  // W
  EXPECT_EQ(keys[0x58], 0x80);  // F12
  // A press of a hidden key goes, its release (and other keys) pass.
  gate.hiddenKeys = 1u << kMenuKeyDown;
  std::vector<uint8_t> batch = KeyEvents({{kDikDown, 0x80}, {kDikUp, 0x80}, {kDikDown, 0x00}});
  uint32_t count = 3;
  FilterMenuKeyboardEvents(gate, batch.data(), 24, &count);
  ASSERT_EQ(count, 2u);
  EXPECT_EQ(batch[0], kDikUp);
  EXPECT_EQ(batch[24], kDikDown);
  EXPECT_EQ(batch[28], 0x00);
}

struct Clock {
  uint64_t now;
  uint64_t operator()() const { return now; }
};

TEST(MenuChord, WhileTheHeldButtonIsDownTheOpenButtonIsHiddenLikeAFaceButton) {
  constexpr uint16_t kBack = 0x0020;
  for (const bool combinations : {true, false}) {
    ChooseCombination(HeldButton::kDpadDown, combinations, kBack, 6);
    ComboGuard guard;
    EXPECT_EQ(FilterGameButtons(guard, kBack, Clock{1000}), kBack);  // alone: the game's
    EXPECT_EQ(FilterGameButtons(guard, kBack | kButtonDpadDown | 0x0010, Clock{1000}), 0x0010);
    EXPECT_TRUE(guard.suppressActive);
    EXPECT_EQ(FilterGameButtons(guard, 0, Clock{1016}), 0);
    EXPECT_EQ(FilterGameButtons(guard, kButtonDpadDown, Clock{2000}), kButtonDpadDown);
    // The chord decodes no slot; with combinations off no face button does.
    EXPECT_EQ(DecodeCombination(kBack | kButtonDpadDown), kNoSlot);
    EXPECT_EQ(DecodeCombination(kButtonA | kButtonDpadDown), combinations ? 1 : kNoSlot);
    EXPECT_EQ(IsHeldButtonDown(kButtonDpadDown), combinations);
    // Through DirectInput: hat down with button 6 loses both, outside any window.
    const HeldControl held = CombinationDeviceControl();
    EXPECT_EQ(held.partner, 6);
    DeviceFormatTable table;
    std::vector<uint8_t> joy(80, 0);
    const uint32_t down = 18000;
    std::memcpy(&joy[0x20], &down, 4);
    joy[0x36] = 0x80;
    joy[0x37] = 0x80;
    FilterDeviceState(table, joy.data(), 80, false, held);
    EXPECT_EQ(joy[0x36], 0);
    EXPECT_EQ(joy[0x37], 0x80);
    EXPECT_EQ(joy[0x20], 0xFF);
  }
  ChooseCombination(HeldButton::kDpadDown, true);
  EXPECT_EQ(CombinationButtons(), kComboButtons);
  EXPECT_EQ(CombinationDeviceControl().partner, HeldControl::kNoPartner);
}

TEST(MenuGate, HeldJoystickReadsKeepOnlyReleasesAndKeyboardsAreKnownByTheirFormat) {
  DeviceFormatTable table;
  auto events = KeyEvents(
      {{0x30, 0x80}, {0x31, 0x00}, {0x20, 18000}, {0x20, 0xFFFFFFFF}, {0x00, 30000}, {0x4F, 0x00}});
  uint32_t count = 6;
  FilterHeldJoystickEvents(table, events.data(), 24, &count);
  ASSERT_EQ(count, 3u);
  EXPECT_EQ(events[0], 0x31);
  EXPECT_EQ(events[24], 0x20);
  EXPECT_EQ(events[48], 0x4F);
  count = 2;
  FilterHeldJoystickEvents(table, events.data(), 16, &count);
  EXPECT_EQ(count, 0u);

  KeyboardDevices keyboards;
  int keyboard = 0;
  int joystick = 0;
  NoteDeviceFormat(keyboards, &joystick, 80);
  NoteDeviceFormat(keyboards, &keyboard, 256);
  NoteDeviceFormat(keyboards, &keyboard, 256);
  EXPECT_TRUE(IsKeyboardDevice(keyboards, &keyboard));
  EXPECT_FALSE(IsKeyboardDevice(keyboards, &joystick));
  NoteDeviceFormat(keyboards, &keyboard, 16);  // the game made it a mouse
  EXPECT_FALSE(IsKeyboardDevice(keyboards, &keyboard));
}

}  // namespace
}  // namespace artwheel
