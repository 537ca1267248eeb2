#include "input/slot_keys.h"

#include <gtest/gtest.h>

#include <string>

namespace artwheel {
namespace {

struct Parsed {
  bool ok;
  uint8_t virtualKey;
  KeyModifier modifier;
  std::string name;
};

Parsed Parse(std::string_view text) {
  KeyBinding binding;
  binding.virtualKey = 0xEE;  // anything a failed parse must clear
  const bool ok = ParseKeyName(text, &binding);
  return {ok, binding.virtualKey, binding.modifier, binding.name};
}

void ExpectKey(std::string_view text, uint8_t virtualKey, KeyModifier modifier,
               const std::string& name) {
  const Parsed parsed = Parse(text);
  EXPECT_TRUE(parsed.ok) << text;
  EXPECT_EQ(parsed.virtualKey, virtualKey) << text;
  EXPECT_EQ(parsed.modifier, modifier) << text;
  EXPECT_EQ(parsed.name, name) << text;
}

void ExpectUnknown(std::string_view text) {
  const Parsed parsed = Parse(text);
  EXPECT_FALSE(parsed.ok) << text;
  EXPECT_EQ(parsed.virtualKey, 0) << text;
  EXPECT_EQ(parsed.name, "") << text;
}

TEST(ParseKeyName, EveryListedKeyHasItsWindowsCode) {
  for (char c = 'A'; c <= 'Z'; ++c)
    ExpectKey(std::string(1, c), c, KeyModifier::kNone, std::string(1, c));
  for (char c = '0'; c <= '9'; ++c)
    ExpectKey(std::string(1, c), c, KeyModifier::kNone, std::string(1, c));
  for (int n = 1; n <= 12; ++n) {
    const std::string name = "F" + std::to_string(n);
    ExpectKey(name, static_cast<uint8_t>(0x6F + n), KeyModifier::kNone, name);
  }
  for (int n = 0; n <= 9; ++n) {
    const std::string name = "Numpad" + std::to_string(n);
    ExpectKey(name, static_cast<uint8_t>(0x60 + n), KeyModifier::kNone, name);
  }
  ExpectKey("Insert", 0x2D, KeyModifier::kNone, "Insert");
  ExpectKey("Delete", 0x2E, KeyModifier::kNone, "Delete");
  ExpectKey("Home", 0x24, KeyModifier::kNone, "Home");
  ExpectKey("End", 0x23, KeyModifier::kNone, "End");
  ExpectKey("PageUp", 0x21, KeyModifier::kNone, "PageUp");
  ExpectKey("PageDown", 0x22, KeyModifier::kNone, "PageDown");
}

TEST(ParseKeyName, CaseAndBlanksAreIgnoredAndTheNameIsShownAsListed) {
  ExpectKey("f5", 0x74, KeyModifier::kNone, "F5");
  ExpectKey("q", 'Q', KeyModifier::kNone, "Q");
  ExpectKey("  pAgEdOwN\t", 0x22, KeyModifier::kNone, "PageDown");
  ExpectKey("NUMPAD7", 0x67, KeyModifier::kNone, "Numpad7");
  ExpectKey("shift+home", 0x24, KeyModifier::kShift, "Shift+Home");
  ExpectKey(" CTRL \t+ 7 ", '7', KeyModifier::kCtrl, "Ctrl+7");
  ExpectKey("alt+F12", 0x7B, KeyModifier::kAlt, "Alt+F12");
  ExpectKey("Shift+Numpad0", 0x60, KeyModifier::kShift, "Shift+Numpad0");
}

TEST(ParseKeyName, NamesOutsideTheListAreUnknown) {
  for (const char* text : {"",
                           "   ",
                           "F0",
                           "F13",
                           "F01",
                           "F1a",
                           "Numpad",
                           "Numpad10",
                           "NumpadA",
                           "Page Up",
                           "PgUp",
                           "Del",
                           "Esc",
                           "Space",
                           "Tab",
                           "AB",
                           "-",
                           "é",
                           "+",
                           "Shift",
                           "Shift+",
                           "+F1",
                           "Win+F1",
                           "Control+F1",
                           "Shift+Ctrl+F1",
                           "Shift++F1",
                           "Alt+Shift",
                           "F1+Shift",
                           "F1 ; a comment"}) {
    ExpectUnknown(text);
  }
}

TEST(ParseKeyName, NonAsciiEmbeddedNulAndOverlongTextAreUnknown) {
  ExpectUnknown("\xC3\x84");       // Ä in UTF-8
  ExpectUnknown("F\xEF\xBC\x91");  // F and a full-width 1
  ExpectUnknown(
      "\xEF\xBB\xBF"
      "F1");  // a byte-order mark before the name
  ExpectUnknown(std::string_view("F1\0", 3));
  ExpectUnknown("Shift+" + std::string(200, ' ') + "F1");
  ExpectUnknown(std::string(5000, 'F'));
  // Blanks that still fit the limit are only blanks.
  ExpectKey(std::string(20, ' ') + "Alt+" + std::string(20, ' ') + "F2", 0x71, KeyModifier::kAlt,
            "Alt+F2");
}

// ---- Which slot a tick's key states select ------------------------------------

KeyBinding Bound(const char* name) {
  KeyBinding binding;
  EXPECT_TRUE(ParseKeyName(name, &binding)) << name;
  return binding;
}

KeyStates Down(bool y, bool a, bool b, bool x, bool shift = false, bool ctrl = false,
               bool alt = false) {
  KeyStates states;
  states.slotKey[0] = y;
  states.slotKey[1] = a;
  states.slotKey[2] = b;
  states.slotKey[3] = x;
  states.shift = shift;
  states.ctrl = ctrl;
  states.alt = alt;
  return states;
}

TEST(NextSlotKeyPress, AKeyActsOnceOnTheTickItIsFirstSeenDown) {
  const KeyBinding bindings[kSlotKeyCount] = {Bound("F1"), Bound("F2"), Bound("F3"), Bound("F4")};
  SlotKeyTracker tracker;
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(false, false, false, false)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(false, false, true, false)), 2);
  for (int tick = 0; tick < 100; ++tick) {
    EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(false, false, true, false)), -1);
  }
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(false, false, false, false)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(false, false, true, false)), 2);
  // Another key while the first is still held acts at once.
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(false, false, true, true)), 3);
}

TEST(NextSlotKeyPress, KeysFirstSeenTogetherGoYThenAThenBThenX) {
  const KeyBinding bindings[kSlotKeyCount] = {Bound("1"), Bound("2"), Bound("3"), Bound("4")};
  SlotKeyTracker tracker;
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(false, true, true, true)), 1);
  // The others were seen with it; they act only when pressed again.
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(false, false, true, true)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(true, true, true, true)), 0);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(false, false, false, false)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(false, false, true, true)), 2);
}

TEST(NextSlotKeyPress, AKeyActsWithItsOwnModifierAndWithoutTheOthers) {
  const KeyBinding bindings[kSlotKeyCount] = {Bound("Shift+Home"), Bound("Home"),
                                              Bound("Ctrl+Home"), Bound("Alt+Home")};
  // Home is each slot's key; what the modifiers say picks the slot.
  auto home = [](bool shift, bool ctrl, bool alt) {
    return Down(true, true, true, true, shift, ctrl, alt);
  };
  auto none = [](bool shift, bool ctrl, bool alt) {
    return Down(false, false, false, false, shift, ctrl, alt);
  };
  SlotKeyTracker tracker;
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, home(false, false, false)), 1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, none(false, false, false)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, home(true, false, false)), 0);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, none(false, false, false)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, home(false, true, false)), 2);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, none(false, false, false)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, home(false, false, true)), 3);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, none(false, false, false)), -1);
  // Two modifiers: no binding asks for both.
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, home(true, true, false)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, home(true, true, true)), -1);
  // Letting go of Ctrl while Shift and Home stay down is Shift+Home's first tick.
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, home(true, false, false)), 0);
  // A modifier pressed after the key counts: Shift, then Home, then Ctrl gone.
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, none(false, false, false)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, none(false, true, false)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, home(false, true, false)), 2);
}

TEST(NextSlotKeyPress, OnePressActsOnceWhateverTheModifiersDoMeanwhile) {
  const KeyBinding bindings[kSlotKeyCount] = {Bound("F1"), Bound("Home"), Bound("Shift+Home"),
                                              KeyBinding{}};
  SlotKeyTracker tracker;
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(true, false, false, false)), 0);
  // Shift, then Ctrl pressed and let go while F1 stays down.
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(true, false, false, false, true)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(true, false, false, false)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(true, false, false, false, false, true)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(true, false, false, false)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(false, false, false, false)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(true, false, false, false)), 0);
  // Home's press went to its bare slot: Shift added later does not make it a second.
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(false, true, true, false)), 1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(false, true, true, false, true)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(false, true, true, false)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(false, false, false, false, true)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(false, true, true, false, true)), 2);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(false, true, true, false)), -1);
  // A press that began with a modifier no binding wants acts once it matches.
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(false, false, false, false, false, true)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(true, false, false, false, false, true)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(true, false, false, false)), 0);
}

TEST(EarlierSlotWithBinding, OnlyTheSameKeyWithTheSameModifierRepeatsASlot) {
  const KeyBinding bindings[kSlotKeyCount] = {Bound("Q"), Bound("Shift+Q"), Bound("q"),
                                              KeyBinding{}};
  EXPECT_EQ(EarlierSlotWithBinding(bindings, 0), -1);
  EXPECT_EQ(EarlierSlotWithBinding(bindings, 1), -1);
  EXPECT_EQ(EarlierSlotWithBinding(bindings, 2), 0);
  EXPECT_EQ(EarlierSlotWithBinding(bindings, 3), -1);
  const KeyBinding unbound[kSlotKeyCount] = {};
  EXPECT_EQ(EarlierSlotWithBinding(unbound, 3), -1);
}

TEST(NextSlotKeyPress, UnboundSlotsNeverAct) {
  const KeyBinding bindings[kSlotKeyCount] = {KeyBinding{}, Bound("F2"), KeyBinding{},
                                              KeyBinding{}};
  SlotKeyTracker tracker;
  EXPECT_FALSE(AnySlotKeyBound({KeyBinding{}, KeyBinding{}, KeyBinding{}, KeyBinding{}}));
  EXPECT_TRUE(AnySlotKeyBound(bindings));
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(true, false, true, true)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(true, true, true, true)), 1);
}

TEST(NextSlotKeyPress, KeysHeldWhileUnreadActOnlyAfterBeingSeenUp) {
  const KeyBinding bindings[kSlotKeyCount] = {Bound("F1"), Bound("F2"), Bound("F3"), Bound("F4")};
  SlotKeyTracker tracker;
  HoldAllSlotKeys(tracker);  // the game was not in front
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(true, false, false, false)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(true, true, false, false)), 1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(false, true, false, false)), -1);
  EXPECT_EQ(NextSlotKeyPress(tracker, bindings, Down(true, true, false, false)), 0);
}

}  // namespace
}  // namespace artwheel
