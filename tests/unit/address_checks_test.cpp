#include "game/address_checks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace artwheel {
namespace {

constexpr ImageRange kImage{0x140000000, 0x144000000};
constexpr uint64_t kAt = 0x143D5AAC0;

MemoryRegion Region(uint32_t protection, bool committed = true) {
  return MemoryRegion{0x143D00000, 0x143E00000, protection, committed};
}

TEST(RegionServes, PointerVariablesNeedWritablePagesAndCodeExecutableOnes) {
  for (uint32_t writable : {0x04u, 0x08u, 0x40u, 0x80u}) {
    EXPECT_TRUE(RegionServes(Region(writable), AddressUse::kPointerVariable, kAt, 8, kImage));
  }
  for (uint32_t executable : {0x10u, 0x20u, 0x40u, 0x80u}) {
    EXPECT_TRUE(RegionServes(Region(executable), AddressUse::kCode, kAt, 16, kImage));
  }
  EXPECT_FALSE(RegionServes(Region(0x02), AddressUse::kPointerVariable, kAt, 8, kImage));
  EXPECT_FALSE(RegionServes(Region(0x20), AddressUse::kPointerVariable, kAt, 8, kImage));
  EXPECT_FALSE(RegionServes(Region(0x04), AddressUse::kCode, kAt, 16, kImage));
  EXPECT_FALSE(RegionServes(Region(0x104), AddressUse::kPointerVariable, kAt, 8, kImage));  // guard
}

TEST(RegionServes, TheRangeMustLieInACommittedRegionAndInTheImage) {
  EXPECT_FALSE(RegionServes(Region(0x04, false), AddressUse::kPointerVariable, kAt, 8, kImage));
  EXPECT_FALSE(RegionServes(Region(0x04), AddressUse::kPointerVariable, 0x143DFFFFC, 8, kImage));
  const ImageRange smaller{0x140000000, 0x143D5AAC4};
  EXPECT_FALSE(RegionServes(Region(0x04), AddressUse::kPointerVariable, kAt, 8, smaller));
  EXPECT_FALSE(RegionServes(Region(0x04), AddressUse::kPointerVariable, kAt, 8, ImageRange{}));
  EXPECT_FALSE(RegionServes(Region(0x04), AddressUse::kPointerVariable, ~0ULL - 3, 8,
                            ImageRange{0, ~0ULL}));  // wraps around
}

TEST(FindFileVersion, ReadsTheFixedPartFoundByItsSignature) {
  std::vector<uint8_t> resource(92, 0);
  const uint32_t fixed[4] = {0xFEEF04BD, 0x00010000, 0x00010006, 0x00020003};
  std::memcpy(resource.data() + 40, fixed, sizeof fixed);
  uint16_t parts[4] = {};
  ASSERT_TRUE(FindFileVersion(resource.data(), resource.size(), parts));
  EXPECT_EQ(parts[0], 1);
  EXPECT_EQ(parts[1], 6);
  EXPECT_EQ(parts[2], 2);
  EXPECT_EQ(parts[3], 3);
  EXPECT_FALSE(FindFileVersion(resource.data(), 52, parts));      // cut inside the fixed part
  EXPECT_FALSE(FindFileVersion(resource.data() + 2, 80, parts));  // never off the word grid
  EXPECT_FALSE(FindFileVersion(nullptr, 0, parts));
}

TEST(FormatHexBytes, WritesTwoLowerCaseDigitsPerByteOrRefuses) {
  const uint8_t bytes[3] = {0x48, 0xB8, 0x0F};
  char out[7];
  ASSERT_TRUE(FormatHexBytes(bytes, 3, out, sizeof out));
  EXPECT_STREQ(out, "48b80f");
  EXPECT_FALSE(FormatHexBytes(bytes, 3, out, 6));
}

}  // namespace
}  // namespace artwheel
