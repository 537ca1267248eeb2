#include "input/combo.h"

#include <gtest/gtest.h>

#include <string>

#include "slots/slot_labels.h"

namespace artwheel {
namespace {

TEST(DecodeCombination, YOutranksAOutranksBOutranksX) {
  EXPECT_EQ(DecodeCombination(kButtonDpadDown | kButtonY | kButtonA), 0);
  EXPECT_EQ(DecodeCombination(kButtonDpadDown | kButtonA | kButtonB | kButtonX), 1);
  EXPECT_EQ(DecodeCombination(kButtonDpadDown | kButtonB | kButtonX), 2);
  EXPECT_EQ(DecodeCombination(kButtonDpadDown | kButtonX), 3);
  EXPECT_EQ(DecodeCombination(kButtonDpadDown | kButtonB | 0x0010 /*Start*/), 2);
}

TEST(ComboGuard, SuppressesWhileActiveAndUntil250msAfterTheLastArming) {
  ComboGuard guard;
  EXPECT_FALSE(IsSuppressingAt(guard, 0));
  ArmComboGuardAt(guard, 1000);
  EXPECT_TRUE(IsSuppressingAt(guard, 5000));  // still active: buttons not yet released
  ReleaseComboGuardIfClear(guard, 0);
  EXPECT_FALSE(guard.suppressActive);
  EXPECT_EQ(guard.suppressUntil, 1250u);  // release leaves the deadline alone
  EXPECT_TRUE(IsSuppressingAt(guard, 1249));
  EXPECT_FALSE(IsSuppressingAt(guard, 1250));
}

// The DirectInput filter cannot tell the pads apart: any pad's guard hides there.
TEST(ComboGuard, TheDeviceFilterHidesWhileAnyPadsGuardDoes) {
  ComboGuard guards[kPadCount];
  EXPECT_FALSE(IsAnySuppressingAt(guards, 0));
  ArmComboGuardAt(guards[2], 1000);
  ReleaseComboGuardIfClear(guards[2], 0);
  EXPECT_TRUE(IsAnySuppressingAt(guards, 1249));
  EXPECT_FALSE(IsAnySuppressingAt(guards, 1250));
  ArmComboGuardAt(guards[3], 2000);
  EXPECT_TRUE(IsAnySuppressingAt(guards, 9000));  // held on pad 4
}

TEST(ComboGuard, AnyOfTheFiveButtonsKeepsItActive) {
  ComboGuard guard;
  ArmComboGuardAt(guard, 0);
  for (uint16_t held : {kButtonDpadDown, kButtonA, kButtonB, kButtonX, kButtonY}) {
    ReleaseComboGuardIfClear(guard, held | 0x0010);
    EXPECT_TRUE(guard.suppressActive) << held;
  }
  ReleaseComboGuardIfClear(guard, 0x0FFD);  // every other button
  EXPECT_FALSE(guard.suppressActive);
}

}  // namespace
}  // namespace artwheel

namespace artwheel {
namespace {

struct FakeClock {
  uint64_t time = 0;
  int reads = 0;
  uint64_t operator()() {
    ++reads;
    return time;
  }
};

uint16_t Filter(ComboGuard& guard, uint16_t buttons, FakeClock& clock) {
  return FilterGameButtons(guard, buttons, [&] { return clock(); });
}

TEST(FilterGameButtons, HidesTheCombinationButKeepsEverythingElse) {
  ComboGuard guard;
  FakeClock clock{1000};
  EXPECT_EQ(Filter(guard, 0x1002, clock), 0x0000);  // D-pad Down + A
  EXPECT_EQ(Filter(guard, 0x1012, clock), 0x0010);  // ... + Start
  EXPECT_EQ(Filter(guard, 0x0FFD, clock), 0x0FFD);  // other buttons released the guard
}

TEST(FilterGameButtons, ALoneFaceButtonIsHiddenFor250msAfterTheLastArming) {
  ComboGuard guard;
  FakeClock clock{1000};
  Filter(guard, 0x1002, clock);           // armed at 1000
  EXPECT_EQ(Filter(guard, 0, clock), 0);  // full release
  clock.time = 1100;
  EXPECT_EQ(Filter(guard, kButtonA, clock), 0);  // 100 ms later: hidden
  Filter(guard, 0, clock);
  clock.time = 1300;
  EXPECT_EQ(Filter(guard, kButtonA, clock), kButtonA);  // 300 ms later: seen
}

TEST(FilterGameButtons, DpadDownHeldAfterACombinationStaysHiddenWhileHeld) {
  ComboGuard guard;
  FakeClock clock{0};
  Filter(guard, kButtonDpadDown | kButtonY, clock);
  for (uint64_t t = 16; t < 5000; t += 16) {
    clock.time = t;
    ASSERT_EQ(Filter(guard, kButtonDpadDown | 0x0100, clock), 0x0100) << t;
  }
  EXPECT_EQ(guard.suppressUntil, 250u);  // Down alone does not arm again
}

TEST(FilterGameButtons, ReadsNoClockWhenNoCombinationButtonIsHeld) {
  ComboGuard guard;
  FakeClock clock{0};
  for (int i = 0; i < 100; ++i) Filter(guard, 0x0FFD, clock);
  EXPECT_EQ(clock.reads, 0);
}

// The choice is process-wide: each test of another choice puts the default back.
class HeldButtonChoice : public ::testing::Test {
 protected:
  void TearDown() override { ChooseCombination(HeldButton::kDpadDown, true); }
};

TEST_F(HeldButtonChoice, EachAllowedButtonDecodesAndFiltersWithItsOwnBitOnly) {
  constexpr uint16_t kBits[kHeldButtonCount] = {0x0002, 0x0001, 0x0004, 0x0008, 0x0100,
                                                0x0200, 0x0020, 0x0040, 0x0080};
  for (int i = 0; i < kHeldButtonCount; ++i) {
    const auto held = static_cast<HeldButton>(i);
    ChooseCombination(held, true);
    const uint16_t bit = kBits[i];
    ASSERT_EQ(CombinationButtons(), bit | kFaceButtons) << kHeldButtons[i].configName;
    EXPECT_EQ(DecodeCombination(bit | kButtonB | kButtonX), 2);
    EXPECT_EQ(DecodeCombination(bit), kNoSlot);
    EXPECT_EQ(DecodeCombination(kFaceButtons), kNoSlot);
    EXPECT_TRUE(IsHeldButtonDown(bit));
    const uint16_t other = kBits[(i + 1) % kHeldButtonCount];
    EXPECT_EQ(DecodeCombination(other | kButtonY), kNoSlot);
    EXPECT_FALSE(IsHeldButtonDown(other));
    ComboGuard guard;
    FakeClock clock{1000};
    // The held button and the face buttons are hidden, everything else passes.
    EXPECT_EQ(Filter(guard, bit | other | kButtonA | 0x0010, clock), other | 0x0010);
    EXPECT_TRUE(guard.suppressActive);
    EXPECT_EQ(Filter(guard, other, clock), other);  // released
    EXPECT_FALSE(guard.suppressActive);
  }
}

TEST_F(HeldButtonChoice, WithCombinationsOffNothingIsDecodedHiddenOrArmed) {
  ChooseCombination(HeldButton::kLB, false);
  EXPECT_EQ(CombinationButtons(), 0);
  EXPECT_EQ(CombinationDeviceControl().kind, HeldControl::kNone);
  ComboGuard guard;
  FakeClock clock{0};
  for (uint16_t buttons : {0x1002, 0x8100, 0xFFFF}) {
    EXPECT_EQ(DecodeCombination(buttons), kNoSlot);
    EXPECT_FALSE(IsHeldButtonDown(buttons));
    EXPECT_EQ(Filter(guard, buttons, clock), buttons);
  }
  EXPECT_FALSE(IsSuppressingAt(guard, 0));
  EXPECT_EQ(clock.reads, 0);
}

TEST(HeldButtonNames, ParseIgnoringCaseAndRefuseEverythingElse) {
  for (int i = 0; i < kHeldButtonCount; ++i) {
    HeldButton parsed = HeldButton::kRS;
    std::string lower = kHeldButtons[i].configName;
    for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    ASSERT_TRUE(ParseHeldButton(lower, &parsed)) << lower;
    EXPECT_EQ(parsed, static_cast<HeldButton>(i));
  }
  for (const char* refused : {"Start", "LT", "RT", "DPad Down", "", "DPadDownX", "A"}) {
    HeldButton parsed = HeldButton::kBack;
    EXPECT_FALSE(ParseHeldButton(refused, &parsed)) << refused;
    EXPECT_EQ(parsed, HeldButton::kBack);
  }
  ButtonNames names = ButtonNames::kXbox;
  EXPECT_TRUE(ParseButtonNames("playstation", &names));
  EXPECT_EQ(names, ButtonNames::kPlayStation);
  EXPECT_TRUE(ParseButtonNames("XBOX", &names));
  EXPECT_EQ(names, ButtonNames::kXbox);
  EXPECT_FALSE(ParseButtonNames("PS", &names));
  EXPECT_EQ(names, ButtonNames::kXbox);
}

std::string Labels() {
  std::string text;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    char words[kSlotButtonWordsSize];
    FormatSlotButtonWords(slot, Language::kEn, words);
    text += std::string(SlotLongLabel(slot)) + "|" + words + ";";
  }
  return text;
}

void ChooseWords(HeldButton held, ButtonNames names) {
  SetSlotWords(SlotWords{HeldButtonLabel(held, names),
                         {FaceButtonName(0, names), FaceButtonName(1, names),
                          FaceButtonName(2, names), FaceButtonName(3, names)},
                         HeldButtonWord(held, names),
                         {FaceButtonWord(0, names), FaceButtonWord(1, names),
                          FaceButtonWord(2, names), FaceButtonWord(3, names)}});
}

TEST(SlotWords, FollowTheHeldButtonAndTheNamesAndStartAsToday) {
  const std::string today =
      "DPadDown+Y|DPad Down + Y;DPadDown+A|DPad Down + A;DPadDown+B|DPad Down + B;"
      "DPadDown+X|DPad Down + X;";
  EXPECT_EQ(Labels(), today);
  ChooseWords(HeldButton::kLB, ButtonNames::kXbox);
  EXPECT_EQ(Labels(), "LB+Y|LB + Y;LB+A|LB + A;LB+B|LB + B;LB+X|LB + X;");
  ChooseWords(HeldButton::kDpadRight, ButtonNames::kPlayStation);
  EXPECT_EQ(Labels(),
            "D-pad Right+Triangle|D-pad Right + Triangle;D-pad Right+Cross|D-pad Right + Cross;"
            "D-pad Right+Circle|D-pad Right + Circle;D-pad Right+Square|D-pad Right + Square;");
  const char* playStation[] = {"D-pad Down", "D-pad Up", "D-pad Left", "D-pad Right", "L1",
                               "R1",         "Share",    "L3",         "R3"};
  for (int i = 0; i < kHeldButtonCount; ++i) {
    EXPECT_STREQ(HeldButtonWords(static_cast<HeldButton>(i), ButtonNames::kPlayStation),
                 playStation[i]);
    // On screen the English words are the log's.
    for (const ButtonNames names : {ButtonNames::kXbox, ButtonNames::kPlayStation}) {
      const auto held = static_cast<HeldButton>(i);
      EXPECT_STREQ(WordText(Language::kEn, HeldButtonWord(held, names)),
                   HeldButtonWords(held, names));
      if (i < kSlotCount) {
        EXPECT_STREQ(WordText(Language::kEn, FaceButtonWord(i, names)), FaceButtonName(i, names));
      }
    }
  }
  char words[kSlotButtonWordsSize];
  FormatSlotButtonWords(0, Language::kJa, words);
  EXPECT_STREQ(words, "方向キー右 + △");
  ChooseWords(HeldButton::kDpadDown, ButtonNames::kXbox);
  FormatSlotButtonWords(3, Language::kDe, words);
  EXPECT_STREQ(words, "Steuerkreuz unten + X");
  EXPECT_EQ(Labels(), today);
}

}  // namespace
}  // namespace artwheel
