#include "overlay/overlay_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace artwheel {
namespace {

struct Expected {
  uint32_t width, height;
  PixelRect panel, icon;
};

TEST(OverlayLayout, PanelAndIconRectanglesOfTheFourProfiles) {
  const Expected cases[] = {
      {1920, 1080, {1785, 895, 1875, 985}, {1799, 909, 1861, 971}},
      {2560, 1440, {2380, 1190, 2500, 1310}, {2396, 1206, 2484, 1294}},
      {1366, 768, {1274, 636, 1334, 696}, {1282, 644, 1326, 688}},
      {1280, 720, {1190, 597, 1250, 657}, {1198, 605, 1242, 649}},
  };
  for (const Expected& c : cases) {
    const ResolutionProfile* profile = FindResolutionProfile(c.width, c.height);
    ASSERT_NE(profile, nullptr) << c.width;
    const PixelRect panel = PanelRect(*profile, float(c.width), float(c.height));
    const PixelRect icon = IconRect(*profile, panel);
    EXPECT_EQ(panel.left, c.panel.left);
    EXPECT_EQ(panel.top, c.panel.top);
    EXPECT_EQ(panel.right, c.panel.right);
    EXPECT_EQ(panel.bottom, c.panel.bottom);
    EXPECT_EQ(icon.left, c.icon.left);
    EXPECT_EQ(icon.top, c.icon.top);
    EXPECT_EQ(icon.right, c.icon.right);
    EXPECT_EQ(icon.bottom, c.icon.bottom);
  }
}

TEST(OverlayLayout, OnlyExactSizesHaveAProfile) {
  EXPECT_EQ(FindResolutionProfile(1600, 900), nullptr);
  EXPECT_EQ(FindResolutionProfile(1920, 1200), nullptr);
  EXPECT_EQ(FindResolutionProfile(0, 0), nullptr);
  EXPECT_STREQ(FindResolutionProfile(1280, 720)->name, "1280x720");
}

TEST(OverlayLayout, MessageIsCentredNearTheTop) {
  const PixelRect at1080 = MessageRect(1920, 1080);
  EXPECT_EQ(at1080.left, 704);
  EXPECT_EQ(at1080.top, 162);
  EXPECT_EQ(at1080.right, 1216);
  EXPECT_EQ(at1080.bottom, 242);
  const PixelRect at900 = MessageRect(1600, 900);
  EXPECT_EQ(at900.left, 544);
  EXPECT_EQ(at900.top, 135);
}

TEST(OverlayLayout, IconInsetFallsToZeroWhenItWouldSwallowThePanel) {
  const ResolutionProfile odd{100, 100, "odd", 0, 0, 10, 5};
  const PixelRect panel = PanelRect(odd, 100, 100);
  const PixelRect icon = IconRect(odd, panel);
  EXPECT_EQ(icon.left, panel.left);
  EXPECT_EQ(icon.right, panel.right);
  const ResolutionProfile negative{100, 100, "neg", 0, 0, 0, -3};
  const PixelRect tiny = PanelRect(negative, 100, 100);
  EXPECT_EQ(tiny.right - tiny.left, 1);  // size at least 1
  EXPECT_EQ(IconRect(negative, tiny).left, tiny.left);
}

TEST(OverlayLayout, QuadIsTwoClockwiseTrianglesInDeviceCoordinates) {
  OverlayVertex v[kQuadVertexCount];
  BuildQuad({1785, 895, 1875, 985}, 1920, 1080, kPanelAlpha, v);
  EXPECT_NEAR(v[0].x, 0.859375, 1e-6);
  EXPECT_NEAR(v[4].x, 0.953125, 1e-6);
  EXPECT_NEAR(v[0].y, -0.657407, 1e-6);
  EXPECT_NEAR(v[4].y, -0.824074, 1e-6);
  const float expectedUv[6][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 0}, {1, 1}, {0, 1}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(v[i].u, expectedUv[i][0]);
    EXPECT_EQ(v[i].v, expectedUv[i][1]);
    EXPECT_EQ(v[i].alpha, kPanelAlpha);
  }
  uint32_t bits;
  std::memcpy(&bits, &v[0].alpha, 4);
  EXPECT_EQ(bits, 0x3F19999Au);
  // Clockwise on screen (y up in device coordinates): negative signed area.
  auto area = [&](int a, int b, int c) {
    return (v[b].x - v[a].x) * (v[c].y - v[a].y) - (v[c].x - v[a].x) * (v[b].y - v[a].y);
  };
  EXPECT_LT(area(0, 1, 2), 0);
  EXPECT_LT(area(3, 4, 5), 0);
}

TEST(ResourcePath, IsBesideTheConfigurationFile) {
  char out[260];
  EXPECT_TRUE(BuildResourcePathFrom("C:\\Games\\Sekiro\\artwheel.ini", "bg.png", out, sizeof out));
  EXPECT_STREQ(out, "C:\\Games\\Sekiro\\resources\\bg.png");
}

TEST(ResourcePath, NoFolderOrNoRoomGivesNoPath) {
  char out[260];
  EXPECT_FALSE(BuildResourcePathFrom("artwheel.ini", "bg.png", out, sizeof out));
  EXPECT_STREQ(out, "");
  const std::string deep = "C:\\" + std::string(240, 'd') + "\\artwheel.ini";
  EXPECT_FALSE(BuildResourcePathFrom(deep.c_str(), "7300.png", out, sizeof out));
  EXPECT_STREQ(out, "");
  EXPECT_FALSE(BuildResourcePathFrom("", "bg.png", out, sizeof out));
}

}  // namespace
}  // namespace artwheel
