#include "input/combo.h"

#include <gtest/gtest.h>

namespace artwheel {
namespace {

TEST(DecodeCombination, YOutranksAOutranksBOutranksX) {
  EXPECT_EQ(DecodeCombination(kButtonDpadDown | kButtonY | kButtonA), 0);
  EXPECT_EQ(DecodeCombination(kButtonDpadDown | kButtonA | kButtonB | kButtonX), 1);
  EXPECT_EQ(DecodeCombination(kButtonDpadDown | kButtonB | kButtonX), 2);
  EXPECT_EQ(DecodeCombination(kButtonDpadDown | kButtonX), 3);
  EXPECT_EQ(DecodeCombination(kButtonDpadDown | kButtonB | 0x0010 /*Start*/), 2);
}

TEST(DecodeCombination, NeedsDpadDownAndAFaceButton) {
  EXPECT_EQ(DecodeCombination(kButtonY | kButtonA), kNoSlot);
  EXPECT_EQ(DecodeCombination(kButtonDpadDown), kNoSlot);
  EXPECT_EQ(DecodeCombination(0x0001 /*Up*/ | kButtonY), kNoSlot);
  EXPECT_EQ(DecodeCombination(0), kNoSlot);
  // The held button alone already counts as held: the wheel shows then.
  EXPECT_TRUE(IsHeldButtonDown(kButtonDpadDown));
  EXPECT_TRUE(IsHeldButtonDown(kButtonDpadDown | kButtonB));
  EXPECT_FALSE(IsHeldButtonDown(kButtonY | kButtonA | 0x0001));
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

}  // namespace
}  // namespace artwheel
