#include "app/slot_value.h"

#include <gtest/gtest.h>

namespace artwheel {
namespace {

// Known: the hundred steps from 5000 to 9900; empty: no text or 0; anything
// but decimal digits that fit 32 bits is not a number.
TEST(ClassifySlotValue, KnownUnknownEmptyAndNotANumber) {
  EXPECT_EQ(ClassifySlotValue("5000"), SlotValue::kKnownArt);
  EXPECT_EQ(ClassifySlotValue("7300"), SlotValue::kKnownArt);
  EXPECT_EQ(ClassifySlotValue("9900"), SlotValue::kKnownArt);
  EXPECT_EQ(ClassifySlotValue("05000"), SlotValue::kKnownArt);  // as the profile functions read it
  for (const char* unknown : {"4900", "5050", "5001", "10000", "1", "4294967295"}) {
    EXPECT_EQ(ClassifySlotValue(unknown), SlotValue::kUnknownId) << unknown;
  }
  EXPECT_EQ(ClassifySlotValue(""), SlotValue::kEmpty);
  EXPECT_EQ(ClassifySlotValue("0"), SlotValue::kEmpty);
  EXPECT_EQ(ClassifySlotValue("000"), SlotValue::kEmpty);
  for (const char* text : {"Whirlwind", "12abc", "-5000", "+5000", "0x1388", "5 000", "5000.0",
                           "4294967296", "99999999999999999999999"}) {
    EXPECT_EQ(ClassifySlotValue(text), SlotValue::kNotANumber) << text;
  }
}

}  // namespace
}  // namespace artwheel
