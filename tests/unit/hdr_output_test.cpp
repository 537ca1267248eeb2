#include "overlay/hdr_output.h"

#include <gtest/gtest.h>

#include <cstring>

namespace artwheel {
namespace {

constexpr uint32_t kR8G8B8A8 = 28;
constexpr uint32_t kB8G8R8A8Srgb = 91;
constexpr int32_t kInvalidArg = static_cast<int32_t>(0x80070057);

// The published values: ST 2084 at the BT.2408 reference white, at 100 nits
// and at its peak; sRGB 128 and 255 in linear light.
TEST(HdrTransfer, MatchesTheKnownValues) {
  EXPECT_NEAR(PqEncode(203.0f / 10000.0f), 0.5806f, 0.0005f);
  EXPECT_NEAR(PqEncode(100.0f / 10000.0f), 0.5081f, 0.0005f);
  EXPECT_NEAR(PqEncode(1.0f), 1.0f, 1e-6f);
  EXPECT_NEAR(PqEncode(0.0f), 0.0000007f, 0.000001f);  // c1 ^ m2: black is not quite 0
  EXPECT_NEAR(SrgbToLinear(128.0f / 255.0f), 0.21586f, 0.00005f);
  EXPECT_NEAR(SrgbToLinear(1.0f), 1.0f, 1e-6f);
  EXPECT_NEAR(SrgbToLinear(0.02f), 0.02f / 12.92f, 1e-7f);  // the linear toe
}

// Grey stays grey through the matrix; pure green spreads into red and blue.
TEST(HdrTransfer, TheBt2020MatrixKeepsWhiteAndWidensGreen) {
  float wide[3];
  Bt709ToBt2020({1.0f, 1.0f, 1.0f}, wide);
  for (float channel : wide) EXPECT_NEAR(channel, 1.0f, 1e-5f);
  Bt709ToBt2020({0.0f, 1.0f, 0.0f}, wide);
  EXPECT_NEAR(wide[0], 0.3293f, 1e-4f);
  EXPECT_NEAR(wide[1], 0.9195f, 1e-4f);
  EXPECT_NEAR(wide[2], 0.0880f, 1e-4f);
}

TEST(HdrTransfer, EachEncodingWritesTheStoredColourAsTheFormulasSay) {
  const float grey[3] = {128.0f / 255.0f, 128.0f / 255.0f, 128.0f / 255.0f};
  float out[3];
  EncodeStoredColour(HdrEncoding::kScRgb, 203, grey, out);
  EXPECT_NEAR(out[0], 0.21586f * 203.0f / 80.0f, 1e-4f);
  EncodeStoredColour(HdrEncoding::kPq, 80, {1.0f, 1.0f, 1.0f}, out);
  EXPECT_NEAR(out[1], PqEncode(0.008f), 1e-5f);
  EncodeStoredColour(HdrEncoding::kPq, 203, {0.0f, 1.0f, 0.0f}, out);
  EXPECT_NEAR(out[0], PqEncode(0.3293f * 0.0203f), 1e-4f);
  EXPECT_NEAR(out[1], PqEncode(0.9195f * 0.0203f), 1e-4f);
  EncodeStoredColour(HdrEncoding::kAsStored, 203, grey, out);
  EXPECT_EQ(out[2], grey[2]);
  const HdrConstants off = MakeHdrConstants(HdrEncoding::kAsStored, 203);
  EXPECT_EQ(off.values[0], 0.0f);
  const HdrConstants pq = MakeHdrConstants(HdrEncoding::kPq, 400);
  EXPECT_EQ(pq.values[0], 2.0f);
  EXPECT_FLOAT_EQ(pq.values[1], 0.04f);
  EXPECT_FLOAT_EQ(MakeHdrConstants(HdrEncoding::kScRgb, 160).values[1], 2.0f);
}

// Auto: half floats are scRGB; 10 bits are PQ only after an accepted call
// that set G2084/P2020; the forced modes need a buffer that holds them.
TEST(HdrChoice, FollowsTheFormatTheColourSpaceAndTheCallsResult) {
  const ColorSpaceCall none;
  const ColorSpaceCall hdr10{true, kColorSpaceG2084P2020, 0};
  const ColorSpaceCall refused{true, kColorSpaceG2084P2020, kInvalidArg};
  const ColorSpaceCall sdr{true, 0, 0};
  const uint32_t half = kFormatR16G16B16A16Float;
  const uint32_t tenBit = kFormatR10G10B10A2Unorm;
  EXPECT_EQ(ChooseHdrEncoding(HdrMode::kAuto, half, none), HdrEncoding::kScRgb);
  EXPECT_EQ(ChooseHdrEncoding(HdrMode::kAuto, tenBit, hdr10), HdrEncoding::kPq);
  EXPECT_EQ(ChooseHdrEncoding(HdrMode::kAuto, tenBit, refused), HdrEncoding::kAsStored);
  EXPECT_EQ(ChooseHdrEncoding(HdrMode::kAuto, tenBit, none), HdrEncoding::kAsStored);
  EXPECT_EQ(ChooseHdrEncoding(HdrMode::kAuto, tenBit, sdr), HdrEncoding::kAsStored);
  EXPECT_EQ(ChooseHdrEncoding(HdrMode::kAuto, kR8G8B8A8, hdr10), HdrEncoding::kAsStored);
  EXPECT_EQ(ChooseHdrEncoding(HdrMode::kOff, half, none), HdrEncoding::kAsStored);
  EXPECT_EQ(ChooseHdrEncoding(HdrMode::kOff, tenBit, hdr10), HdrEncoding::kAsStored);
  EXPECT_EQ(ChooseHdrEncoding(HdrMode::kPq, tenBit, none), HdrEncoding::kPq);
  EXPECT_EQ(ChooseHdrEncoding(HdrMode::kPq, kR8G8B8A8, none), HdrEncoding::kPq);
  EXPECT_EQ(ChooseHdrEncoding(HdrMode::kPq, half, none), HdrEncoding::kAsStored);
  EXPECT_EQ(ChooseHdrEncoding(HdrMode::kPq, kB8G8R8A8Srgb, none), HdrEncoding::kAsStored);
  EXPECT_EQ(ChooseHdrEncoding(HdrMode::kScRgb, half, none), HdrEncoding::kScRgb);
  EXPECT_EQ(ChooseHdrEncoding(HdrMode::kScRgb, tenBit, hdr10), HdrEncoding::kAsStored);
}

// One line when the encoding changes, or while converting when what it
// converts for changes; none while drawing as stored on another buffer.
TEST(HdrChoice, IsSaidOnceAChangeMatters) {
  const HdrChoice start;
  HdrChoice scRgb{HdrEncoding::kScRgb, kFormatR16G16B16A16Float, false, 0, 203};
  EXPECT_TRUE(HdrChoiceNeedsLine(start, scRgb));
  EXPECT_FALSE(HdrChoiceNeedsLine(scRgb, scRgb));
  HdrChoice brighter = scRgb;
  brighter.paperWhiteNits = 400;
  EXPECT_TRUE(HdrChoiceNeedsLine(scRgb, brighter));
  const HdrChoice sdr{HdrEncoding::kAsStored, kR8G8B8A8, false, 0, 203};
  HdrChoice otherSdr = sdr;
  otherSdr.format = kFormatR10G10B10A2Unorm;
  EXPECT_FALSE(HdrChoiceNeedsLine(start, sdr));
  EXPECT_FALSE(HdrChoiceNeedsLine(sdr, otherSdr));
  EXPECT_TRUE(HdrChoiceNeedsLine(scRgb, sdr));
  char line[256];
  const HdrChoice pq{HdrEncoding::kPq, kFormatR10G10B10A2Unorm, true, kColorSpaceG2084P2020, 203};
  ASSERT_TRUE(FormatHdrChoiceLine(pq, line, sizeof line));
  EXPECT_STREQ(line,
               "[Overlay] HDR drawing PQ: back buffer R10G10B10A2_UNORM (format 24), colour space "
               "12 (G2084 P2020), paper white 203 nits");
  ASSERT_TRUE(FormatHdrChoiceLine(sdr, line, sizeof line));
  EXPECT_STREQ(line,
               "[Overlay] HDR drawing off (stored sRGB values): back buffer R8G8B8A8_UNORM "
               "(format 28), colour space not set, paper white 203 nits");
}

}  // namespace
}  // namespace artwheel
