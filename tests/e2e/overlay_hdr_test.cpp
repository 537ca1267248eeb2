#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "png_file.h"
#include "scenario.h"

namespace e2e {
namespace {

// The panel's icon (1799, 909 to 1861, 971 at 1920 x 1080) is mid grey (128)
// on its left half and pure green on its right: a mid grey tells linear light
// from stored values, the green whether BT.2020's primaries were taken.
constexpr char kGreyProbe[] = "1810 940";
constexpr char kGreenProbe[] = "1850 940";

// The values a probe read: four channels of the back buffer's own format.
struct Values {
  std::string kind;  // "half", "unorm10" or "unorm8"
  double channel[4] = {};
};

Values ReadValues(const Scenario& s, const std::string& label) {
  Values v;
  const auto lines = s.ResultsStartingWith("values " + label + " ");
  if (lines.empty()) return v;
  char kind[16] = {};
  if (std::sscanf(lines[0].c_str() + 8 + label.size(), "%15s %lf %lf %lf %lf", kind, &v.channel[0],
                  &v.channel[1], &v.channel[2], &v.channel[3]) == 5) {
    v.kind = kind;
  }
  return v;
}

// Within `tolerance` of (r, g, b) in a buffer of that kind.
::testing::AssertionResult ValuesNear(const Scenario& s, const std::string& label,
                                      const std::string& kind, double r, double g, double b,
                                      double tolerance) {
  const Values v = ReadValues(s, label);
  const double expected[3] = {r, g, b};
  bool near = v.kind == kind;
  for (int i = 0; i < 3; ++i) near = near && std::fabs(v.channel[i] - expected[i]) <= tolerance;
  if (near) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << label << ": " << v.kind << " (" << v.channel[0] << ", " << v.channel[1] << ", "
         << v.channel[2] << ") vs " << kind << " (" << r << ", " << g << ", " << b << ")";
}

// A screenshot of a frame drawn after the line, and both probes under NAME.
std::string ProbeAfter(const std::string& wait, const std::string& name) {
  return wait + "\nframes 2\nscreenshot " + name + "\nvalues " + kGreyProbe + " " + name +
         "_grey\nvalues " + kGreenProbe + " " + name + "_green\n";
}

// The formulas' values. sRGB 128 is 0.215861 in linear light.
// scRGB at paper white 203: 0.215861 * 203 / 80 = 0.547746; green 203 / 80 = 2.5375.
// PQ at 203 nits: grey ST2084(0.215861 * 0.0203) = 0.427814 -> 437.65 of 1023;
// green (0, 1, 0) in BT.2020 is (0.329282, 0.919540, 0.088013), times 0.0203
// -> ST2084 (0.468230, 0.571939, 0.347333) -> (479.0, 585.1, 355.3) of 1023.
// Stored: 128 / 255 = 0.501961 as a half, 513.5 of 1023.
//
// The key absent, the half-float buffer draws the stored values; Auto takes
// scRGB on it; a 10-bit buffer whose HDR10 colour space was refused (DXVK
// here) or cannot be asked for (Wine's own Direct3D: no IDXGISwapChain3)
// stays as stored; PQ and scRGB forced, a paper white of 80 and Off again,
// each applied by a reload while the game runs.
TEST(OverlayHdr, EachModeWritesTheFormulasValuesIntoTheBackBuffer) {
  Scenario s = StandardScenario();
  s.WriteIni(
      "[General]\nIsDebug=1\nApplyChanges=1\n[Slots]\nB=7300\n[Overlay]\nEnable=1\n"
      "[SkillPanel]\nEnable=1\n");
  s.WriteFile("resources/bg.png", SolidPng(16, 16, {200, 0, 0, 255}));
  s.WriteFile("resources/7300.png", SplitPng(16, 8, {128, 128, 128, 255}, {0, 255, 0, 255}));
  const std::string line = "waitlog [Overlay] HDR drawing ";
  s.Play(
      "own 7300 73\nequipped 73\nmenu activeOrHud 1\nmenu loadingOrUi 1\nmenu postLoad 1\n"
      "window 1920 1080\npad 0 0\nwaitlog [Overlay] SkillPanel resolution=\n"
      "backbuffer R16G16B16A16_FLOAT\n" +
      ProbeAfter("untilpixel 1850 940 0 255 0", "absent") + "inikey Overlay Hdr Auto\n" +
      ProbeAfter(line + "scRGB: back buffer R16G16B16A16_FLOAT (format 10), colour space not "
                        "set, paper white 203 nits",
                 "auto_half") +
      "backbuffer R10G10B10A2_UNORM colorspace\n" +
      ProbeAfter(line + "off (stored sRGB values): back buffer R10G10B10A2_UNORM", "auto_10bit") +
      "inikey Overlay Hdr PQ\n" +
      ProbeAfter(line + "PQ: back buffer R10G10B10A2_UNORM (format 24), colour space not set, "
                        "paper white 203 nits",
                 "pq") +
      "backbuffer R16G16B16A16_FLOAT\nwaitlogn 2 [Overlay] HDR drawing off\n"
      "inikey Overlay Hdr scRGB\n" +
      ProbeAfter("waitlogn 2 [Overlay] HDR drawing scRGB", "scrgb") +
      "inikey Overlay HdrPaperWhite 80\n" +
      ProbeAfter(line + "scRGB: back buffer R16G16B16A16_FLOAT (format 10), colour space not "
                        "set, paper white 80 nits",
                 "scrgb80") +
      "inikey Overlay Hdr Off\n" + ProbeAfter("waitlogn 3 [Overlay] HDR drawing off", "off"));
  EXPECT_NE(s.ResultsStartingWith("render").at(0).find("state_mismatches=0 present_failures=0"),
            std::string::npos)
      << s.Read("results.txt");

  const double stored = 128.0 / 255.0;
  EXPECT_TRUE(ValuesNear(s, "absent_grey", "half", stored, stored, stored, 0.002));
  EXPECT_TRUE(ValuesNear(s, "absent_green", "half", 0, 1, 0, 0.002));
  EXPECT_TRUE(ValuesNear(s, "auto_half_grey", "half", 0.547746, 0.547746, 0.547746, 0.003));
  EXPECT_TRUE(ValuesNear(s, "auto_half_green", "half", 0, 2.5375, 0, 0.004));
  EXPECT_TRUE(ValuesNear(s, "auto_10bit_grey", "unorm10", 513.5, 513.5, 513.5, 1));
  EXPECT_TRUE(ValuesNear(s, "auto_10bit_green", "unorm10", 0, 1023, 0, 0));
  EXPECT_TRUE(ValuesNear(s, "pq_grey", "unorm10", 437.65, 437.65, 437.65, 1.5));
  EXPECT_TRUE(ValuesNear(s, "pq_green", "unorm10", 479.0, 585.1, 355.3, 1.5));
  EXPECT_TRUE(ValuesNear(s, "scrgb_grey", "half", 0.547746, 0.547746, 0.547746, 0.003));
  EXPECT_TRUE(ValuesNear(s, "scrgb_green", "half", 0, 2.5375, 0, 0.004));
  EXPECT_TRUE(ValuesNear(s, "scrgb80_grey", "half", 0.215861, 0.215861, 0.215861, 0.002));
  EXPECT_TRUE(ValuesNear(s, "scrgb80_green", "half", 0, 1, 0, 0.002));
  EXPECT_TRUE(ValuesNear(s, "off_grey", "half", stored, stored, stored, 0.002));
  EXPECT_TRUE(ValuesNear(s, "off_green", "half", 0, 1, 0, 0.002));

  // The game's HDR10 colour space: refused by DXVK here, not reachable on
  // Wine's own Direct3D. Either way the game's call is seen to come back as it was.
  const auto formats = s.ResultsStartingWith("backbuffer R10G10B10A2_UNORM");
  ASSERT_EQ(formats.size(), 1u);
  if (D3DStack() == "dxvk") {
    EXPECT_EQ(formats[0], "backbuffer R10G10B10A2_UNORM hr=0x00000000 colorspace=0x80070057");
    EXPECT_EQ(s.CountMessages("[Hook] IDXGISwapChain3::SetColorSpace1 redirected"), 1) << s.Log();
    EXPECT_EQ(s.CountMessages("[Overlay] Game's SetColorSpace1(12) refused: 0x80070057"), 1);
  } else {
    EXPECT_EQ(formats[0], "backbuffer R10G10B10A2_UNORM hr=0x00000000 colorspace=nointerface");
    EXPECT_EQ(s.CountMessages("[Overlay] This DXGI has no IDXGISwapChain3 (0x80004002); colour "
                              "spaces set by the game are not seen"),
              1)
        << s.Log();
  }
  EXPECT_EQ(s.MessagesStartingWith("[Overlay] HDR drawing ").size(), 7u) << s.Log();
}

}  // namespace
}  // namespace e2e
