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
