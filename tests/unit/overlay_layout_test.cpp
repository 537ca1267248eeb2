#include "overlay/overlay_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "base/utf8_text.h"
#include "overlay/panel_layout.h"

namespace artwheel {
namespace {

struct Expected {
  uint32_t width, height;
  PixelRect panel, icon;
};

std::vector<float> Edges(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }

TEST(OverlayLayout, PanelAndIconRectanglesOfTheFourProfiles) {
  const Expected cases[] = {
      {1920, 1080, {1785, 895, 1875, 985}, {1799, 909, 1861, 971}},
      {2560, 1440, {2380, 1190, 2500, 1310}, {2396, 1206, 2484, 1294}},
      {1366, 768, {1274, 636, 1334, 696}, {1282, 644, 1326, 688}},
      {1280, 720, {1190, 597, 1250, 657}, {1198, 605, 1242, 649}},
  };
  for (const Expected& c : cases) {
    ASSERT_NE(FindResolutionProfile(c.width, c.height), nullptr) << c.width;
    PanelPlacement placement{};
    ASSERT_TRUE(PlacePanel(c.width, c.height, false, placement));
    const PanelRects rects = LayOutPanel(placement, PanelLayout{});  // no layout keys
    EXPECT_EQ(Edges(rects.panel), Edges(c.panel)) << c.width;
    EXPECT_EQ(Edges(rects.icon), Edges(c.icon)) << c.width;
  }
}

// The panel's background rectangle where PlacePanel puts it.
PixelRect PlacedPanel(uint32_t width, uint32_t height, PanelPlacement& placement) {
  EXPECT_TRUE(PlacePanel(width, height, true, placement)) << width << "x" << height;
  return LayOutPanel(placement, PanelLayout{}).panel;
}

TEST(OverlayLayout, WithoutAnyResolutionOnlyTheTableRowsPlaceThePanel) {
  PanelPlacement placement{};
  for (const auto& [width, height] :
       {std::pair{1280u, 800u}, {3840u, 2160u}, {1600u, 900u}, {1920u, 1200u}, {0u, 0u}}) {
    EXPECT_EQ(FindResolutionProfile(width, height), nullptr);
    EXPECT_FALSE(PlacePanel(width, height, false, placement));
  }
  for (const ResolutionProfile& row : kResolutionProfiles) {
    for (const bool anyResolution : {false, true}) {
      ASSERT_TRUE(PlacePanel(row.width, row.height, anyResolution, placement));
      EXPECT_FALSE(placement.fitted);  // 1366 x 768 too, though it is not quite 16:9
      EXPECT_STREQ(placement.row.name, row.name);
      EXPECT_EQ(placement.right, float(row.width));
      EXPECT_EQ(placement.bottom, float(row.height));
    }
  }
}

TEST(OverlayLayout, AnyResolutionFitsThePanelIntoTheGamesPicture) {
  PanelPlacement p{};
  // A handheld: the 1280 x 720 row, 40 px lower.
  PixelRect panel = PlacedPanel(1280, 800, p);
  EXPECT_TRUE(p.fitted);
  EXPECT_STREQ(p.row.name, "1280x720");
  EXPECT_EQ(p.picture.top, 40u);
  EXPECT_EQ(panel.left, 1190);
  EXPECT_EQ(panel.top, 597 + 40);
  EXPECT_EQ(panel.bottom, 657 + 40);
  // 4K: the 1920 x 1080 row doubled.
  panel = PlacedPanel(3840, 2160, p);
  EXPECT_STREQ(p.row.name, "1920x1080");
  EXPECT_EQ(p.row.rightMargin, 90);
  EXPECT_EQ(p.row.bottomMargin, 190);
  EXPECT_EQ(p.row.size, 180);
  EXPECT_EQ(p.row.inset, 28);
  EXPECT_EQ(panel.left, 3840 - 90 - 180);
  EXPECT_EQ(panel.top, 2160 - 190 - 180);
  const PixelRect icon = LayOutPanel(p, PanelLayout{}).icon;
  EXPECT_EQ(icon.left, panel.left + 28);
  EXPECT_EQ(icon.bottom, panel.bottom - 28);
  // Ultrawide: the 1920 x 1080 row in a picture that starts at x = 320.
  panel = PlacedPanel(2560, 1080, p);
  EXPECT_EQ(p.picture.left, 320u);
  EXPECT_EQ(p.picture.width, 1920u);
  EXPECT_EQ(p.row.size, 90);
  EXPECT_EQ(panel.right, 320 + 1920 - 45);
  EXPECT_EQ(panel.bottom, 1080 - 95);
  // 1600 x 900: scaled by 0.8333, rounded to the nearest pixel (37.5 rounds up).
  PlacedPanel(1600, 900, p);
  EXPECT_EQ(p.row.rightMargin, 38);
  EXPECT_EQ(p.row.bottomMargin, 79);
  EXPECT_EQ(p.row.size, 75);
  EXPECT_EQ(p.row.inset, 12);
  // 16:10 desktop: bars above and below, 1920 x 1080 row inside.
  PlacedPanel(1920, 1200, p);
  EXPECT_EQ(p.picture.top, 60u);
  EXPECT_EQ(p.row.size, 90);
}

TEST(OverlayLayout, OddSizesStayInsideTheFrameWithoutOverflow) {
  struct Size {
    uint32_t width, height;
  };
  const Size sizes[] = {{1, 1},
                        {8, 8},
                        {0, 0},
                        {100000, 10},
                        {10, 100000},
                        {16384, 1},
                        {1, 16384},
                        {4294967295u, 1080},
                        {1080, 4294967295u},
                        {4294967295u, 4294967295u},
                        {1366, 769}};
  for (const Size& s : sizes) {
    PanelPlacement p{};
    const PixelRect panel = PlacedPanel(s.width, s.height, p);
    const PictureRect& picture = p.picture;
    EXPECT_GE(picture.width, 1u);
    EXPECT_GE(picture.height, 1u);
    const uint64_t frameWidth = s.width == 0 ? 1 : s.width;
    const uint64_t frameHeight = s.height == 0 ? 1 : s.height;
    EXPECT_LE(uint64_t(picture.left) + picture.width, frameWidth) << s.width << "x" << s.height;
    EXPECT_LE(uint64_t(picture.top) + picture.height, frameHeight) << s.width << "x" << s.height;
    // Centred: the bars on both sides differ by at most a pixel.
    EXPECT_LE(frameWidth - picture.width - 2 * uint64_t(picture.left), 1u);
    EXPECT_LE(frameHeight - picture.height - 2 * uint64_t(picture.top), 1u);
    EXPECT_GE(p.row.size, 0);
    EXPECT_GE(p.row.rightMargin, 0);
    EXPECT_LE(panel.right, float(frameWidth));
    EXPECT_LE(panel.bottom, float(frameHeight));
    if (frameWidth <= (1u << 24) && frameHeight <= (1u << 24)) {  // exact in 32-bit floats
      EXPECT_GE(panel.right - panel.left, 1.0f);  // the rectangle keeps its one pixel
      EXPECT_GE(panel.left, float(picture.left));
      EXPECT_GE(panel.top, float(picture.top));
    }
  }
  // Very wide and very tall keep the 16:9 picture.
  EXPECT_EQ(GamePicture(100000, 10).width, 17u);
  EXPECT_EQ(GamePicture(10, 100000).height, 5u);
}

TEST(OverlayLayout, MessageIsCentredNearTheTop) {
  EXPECT_EQ(Edges(MessageRect(1920, 1080)), (std::vector<float>{704, 162, 1216, 242}));
  EXPECT_EQ(Edges(MessageRect(1600, 900)), (std::vector<float>{544, 135, 1056, 215}));
}

TEST(OverlayLayout, IconInsetFallsToZeroWhenItWouldSwallowThePanel) {
  const PanelPlacement odd{{100, 100, "odd", 0, 0, 10, 5}, 100, 100, {0, 0, 100, 100}, false};
  const PanelRects rects = LayOutPanel(odd, PanelLayout{});
  EXPECT_EQ(rects.icon.left, rects.panel.left);
  EXPECT_EQ(rects.icon.right, rects.panel.right);
  const PanelPlacement negative{{100, 100, "neg", 0, 0, 0, -3}, 100, 100, {0, 0, 100, 100}, false};
  const PanelRects tiny = LayOutPanel(negative, PanelLayout{});
  EXPECT_EQ(tiny.panel.right - tiny.panel.left, 1);  // size at least 1
  EXPECT_EQ(tiny.icon.left, tiny.panel.left);
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

// A folder of 235 CJK characters is 705 bytes in UTF-8 but 235 code units for
// the system: its paths are built; one code unit more than the system takes is
// refused, and so is a path that does not fit the caller's buffer.
TEST(ResourcePath, IsInTheLibrarysFolderAsLongAsTheSystemTakesIt) {
  char out[kUtf8PathSize];
  EXPECT_TRUE(BuildResourcePathFrom("C:\\Games\\Sekiro\\", "bg.png", out, sizeof out));
  EXPECT_STREQ(out, "C:\\Games\\Sekiro\\resources\\bg.png");

  std::string folder = "C:\\";
  for (int count : {80, 78, 77}) {  // each name within the 255 bytes of a file name
    for (int i = 0; i < count; ++i) folder += "\xE7\x8B\xBC";  // 狼
    folder += "\\";
  }
  const std::string fitting = folder + "resources\\9900.png";  // 259 code units
  ASSERT_EQ(Utf16Length(fitting), 259u);
  EXPECT_TRUE(BuildResourcePathFrom(folder.c_str(), "9900.png", out, sizeof out));
  EXPECT_EQ(std::string(out), fitting);
  EXPECT_FALSE(BuildResourcePathFrom(folder.c_str(), "99000.png", out, sizeof out));
  EXPECT_STREQ(out, "");
  char small[260];
  EXPECT_FALSE(BuildResourcePathFrom(folder.c_str(), "bg.png", small, sizeof small));
  EXPECT_STREQ(small, "");
  EXPECT_FALSE(BuildResourcePathFrom("", "bg.png", out, sizeof out));
}

}  // namespace
}  // namespace artwheel
