#include "diagnostics/hud_sets.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "first_match_scan.h"

namespace artwheel {
namespace {

HudSample Sample(uint64_t address, uint32_t value, const char* label = "x") {
  HudSample sample = {};
  sample.address = address;
  sample.value = value;
  std::snprintf(sample.label, sizeof sample.label, "%s", label);
  return sample;
}

TEST(IntersectSamples, KeepsEqualValuesInOrderWithTheirFirstLabelAndValue) {
  std::vector<HudSample> stable = {Sample(0x10, 1, "a"), Sample(0x20, 1, "b"), Sample(0x30, 7, "c"),
                                   Sample(0x40, 3, "d"), Sample(0, 0, "zero")};
  const std::vector<HudSample> capture = {Sample(0x40, 3, "new"), Sample(0x10, 1), Sample(0x20, 2),
                                          Sample(0, 0)};
  const int kept = IntersectSamples(stable.data(), 5, capture.data(), 4);
  ASSERT_EQ(kept, 2);
  EXPECT_EQ(stable[0].address, 0x10u);
  EXPECT_STREQ(stable[1].label, "d");  // the first snapshot's label stays
}

TEST(IntersectSamples, MatchesTheFirstCaptureEntryWithTheAddress) {
  std::vector<HudSample> stable = {Sample(0x10, 5)};
  const std::vector<HudSample> capture = {Sample(0x10, 6), Sample(0x10, 5)};
  EXPECT_EQ(IntersectSamples(stable.data(), 1, capture.data(), 2), 0);
}

TEST(IntersectPointers, SurviveOnEqualReadabilityAndTakeTheNewValue) {
  std::vector<PointerOffsetSample> stable = {
      {0x0F8, 0x1000, true}, {0x100, 0x2000, true}, {0x108, 0, false}};
  const std::vector<PointerOffsetSample> capture = {
      {0x100, 0x9000, false}, {0x0F8, 0x5000, true}, {0x108, 0, false}};
  ASSERT_EQ(IntersectPointerOffsets(stable.data(), 3, capture.data(), 3), 2);
  EXPECT_EQ(stable[0].offset, 0x0F8u);
  EXPECT_EQ(stable[0].value, 0x5000u);
  EXPECT_EQ(stable[1].offset, 0x108u);
  std::vector<GlobalPointerSample> globals = {{0x40, 1, true}, {0x48, 0, false}};
  const std::vector<GlobalPointerSample> newer = {{0x48, 0, false}, {0x40, 2, true}};
  ASSERT_EQ(IntersectGlobalPointers(globals.data(), 2, newer.data(), 2), 2);
  EXPECT_EQ(globals[0].value, 2u);
}

TEST(IntersectGlobalFields, KeyIsTheSlotAndTheOffset) {
  std::vector<GlobalFieldSample> stable = {{0x40, 4, 1}, {0x40, 8, 2}, {0x48, 4, 3}};
  const std::vector<GlobalFieldSample> capture = {{0x48, 4, 3}, {0x40, 8, 9}, {0x40, 4, 1}};
  ASSERT_EQ(IntersectGlobalFields(stable.data(), 3, capture.data(), 3), 2);
  EXPECT_EQ(stable[1].ptrRva, 0x48u);
}

TEST(SampleClasses, FollowThePairsTable) {
  struct Pair {
    uint32_t v, h;
    bool strong, floatStrong, candidate;
  };
  const Pair pairs[] = {{0x3F800000, 0, false, true, true},  {1, 0, true, false, false},
                        {5, 3, false, false, true},          {32, 16, false, false, false},
                        {0xFFFFFFFF, 7, false, false, true}, {2, 2, false, false, false},
                        {0, 0x3F800000, false, false, true}, {100, 0xFFFFFFFF, false, false, true},
                        {17, 0, false, false, false}};
  for (const Pair& p : pairs) {
    EXPECT_EQ(IsStrongPair(p.v, p.h), p.strong) << p.v << "/" << p.h;
    EXPECT_EQ(IsFloatStrongPair(p.v, p.h), p.floatStrong) << p.v << "/" << p.h;
    EXPECT_EQ(IsCandidatePair(p.v, p.h), p.candidate) << p.v << "/" << p.h;
  }
}

TEST(CompareSamples, StopsAtItsLimitAndSkipsUnmatchedAndZeroAddresses) {
  std::vector<HudSample> visible;
  std::vector<HudSample> hidden;
  for (uint64_t i = 0; i < 100; ++i) {
    visible.push_back(Sample(0x1000 + 4 * i, 1));
    hidden.push_back(Sample(0x1000 + 4 * i, 0));
  }
  visible.insert(visible.begin(), Sample(0, 1));
  visible.insert(visible.begin(), Sample(0x9999, 1));  // no match
  BuildHiddenSampleIndex(hidden.data(), static_cast<int>(hidden.size()));
  std::vector<uint64_t> seen;
  const int lines = CompareSamples(
      visible.data(), static_cast<int>(visible.size()), hidden.data(), SampleClass::kStrong, 80,
      [&](const HudSample& v, const HudSample&) { seen.push_back(v.address); });
  EXPECT_EQ(lines, 80);
  EXPECT_EQ(seen.front(), 0x1000u);
  EXPECT_EQ(seen.back(), 0x1000u + 4 * 79);
}

TEST(ComparePointers, VisibleReadableAndHiddenNot) {
  const std::vector<PointerOffsetSample> visible = {
      {0x0F8, 0x10, true}, {0x100, 0x20, true}, {0x108, 0, false}};
  const std::vector<PointerOffsetSample> hidden = {
      {0x100, 0x20, true}, {0x0F8, 0, false}, {0x108, 0x30, true}};
  std::vector<uint32_t> offsets;
  EXPECT_EQ(ComparePointerOffsets(visible.data(), 3, hidden.data(), 3, 80,
                                  [&](const PointerOffsetSample& v, const PointerOffsetSample&) {
                                    offsets.push_back(v.offset);
                                  }),
            1);
  EXPECT_EQ(offsets, std::vector<uint32_t>{0x0F8});
}

TEST(CompareGlobalFields, IntegerAndFloatClasses) {
  const std::vector<GlobalFieldSample> visible = {{1, 4, 1}, {1, 8, 0x3F800000}, {2, 4, 1}};
  const std::vector<GlobalFieldSample> hidden = {{1, 8, 0}, {1, 4, 0}, {2, 4, 2}};
  BuildHiddenFieldIndex(hidden.data(), 3);
  int strong = CompareGlobalFields(visible.data(), 3, hidden.data(), false, 120,
                                   [](const GlobalFieldSample&, const GlobalFieldSample&) {});
  int floats = CompareGlobalFields(visible.data(), 3, hidden.data(), true, 120,
                                   [](const GlobalFieldSample&, const GlobalFieldSample&) {});
  EXPECT_EQ(strong, 1);
  EXPECT_EQ(floats, 1);
}

// The indexed merge gives exactly what a scan of the other set for the
// first match gives.
TEST(IntersectGlobalFields, AgreesWithTheFirstMatchScanOnRandomSets) {
  std::mt19937 random(7);
  for (int round = 0; round < 5; ++round) {
    std::vector<GlobalFieldSample> stable(3000);
    std::vector<GlobalFieldSample> capture(3000);
    for (auto& s : stable)
      s = {uint32_t(random() % 60), uint32_t(random() % 64) * 4, uint32_t(random() % 3)};
    for (auto& c : capture)
      c = {uint32_t(random() % 60), uint32_t(random() % 64) * 4, uint32_t(random() % 3)};
    std::vector<GlobalFieldSample> expected = stable;
    const int expectedCount = FirstMatchScanIntersect(expected, capture);
    const int count = IntersectGlobalFields(stable.data(), 3000, capture.data(), 3000);
    ASSERT_EQ(count, expectedCount);
    for (int i = 0; i < count; ++i) {
      ASSERT_EQ(stable[i].ptrRva, expected[i].ptrRva);
      ASSERT_EQ(stable[i].offset, expected[i].offset);
    }
  }
}

TEST(KeyIndex, HoldsFullCapacityAndKeepsTheFirstEntryOfAKey) {
  static std::vector<uint64_t> keys(120000);
  for (size_t i = 0; i < keys.size(); ++i) keys[i] = (i % 100000) * 8 + 0x140000000ull;
  static KeyIndex index;
  auto keyOf = [](uint32_t i) { return keys[i]; };
  index.Build(120000, keyOf);
  EXPECT_EQ(index.Find(0x140000000ull + 8 * 5, keyOf), 5);
  EXPECT_EQ(index.Find(0x140000000ull + 8 * 99999, keyOf), 99999);
  EXPECT_EQ(index.Find(7, keyOf), -1);
  EXPECT_FALSE(index.Insert(keys[3], 200000, keyOf));
}

}  // namespace
}  // namespace artwheel
