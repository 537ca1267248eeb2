#include "overlay/panel_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace artwheel {
namespace {

std::vector<float> Edges(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }

PanelLayout Layout(PanelCorner corner, uint32_t scaleMilli = 1000, int32_t offsetX = 0,
                   int32_t offsetY = 0) {
  PanelLayout layout;
  layout.corner = corner;
  layout.scaleMilli = scaleMilli;
  layout.offsetX = offsetX;
  layout.offsetY = offsetY;
  return layout;
}

PanelRects Placed(uint32_t width, uint32_t height, const PanelLayout& layout) {
  PanelPlacement placement{};
  EXPECT_TRUE(PlacePanel(width, height, true, placement)) << width << "x" << height;
  return LayOutPanel(placement, layout);
}

struct PlacementCase {
  uint32_t width, height;
  PanelLayout layout;
  PixelRect panel, icon;
};

TEST(PanelLayout, CornersScaleAndOffsetsInsideThePicture) {
  using C = PanelCorner;
  const PlacementCase cases[] = {
      // A profile row: margins from each corner of the whole frame.
      {1920, 1080, Layout(C::kBottomRight), {1785, 895, 1875, 985}, {1799, 909, 1861, 971}},
      {1920, 1080, Layout(C::kBottomLeft), {45, 895, 135, 985}, {59, 909, 121, 971}},
      {1920, 1080, Layout(C::kTopRight), {1785, 95, 1875, 185}, {1799, 109, 1861, 171}},
      {1920, 1080, Layout(C::kTopLeft), {45, 95, 135, 185}, {59, 109, 121, 171}},
      // Fitted: the 1280 x 720 row in the picture 40 px down.
      {1280, 800, Layout(C::kBottomRight), {1190, 637, 1250, 697}, {1198, 645, 1242, 689}},
      {1280, 800, Layout(C::kBottomLeft), {30, 637, 90, 697}, {38, 645, 82, 689}},
      {1280, 800, Layout(C::kTopRight), {1190, 103, 1250, 163}, {1198, 111, 1242, 155}},
      {1280, 800, Layout(C::kTopLeft), {30, 103, 90, 163}, {38, 111, 82, 155}},
      // Scale 2 at 4K: the doubled 1920 x 1080 row doubled again.
      {3840,
       2160,
       Layout(C::kBottomRight, 2000),
       {3300, 1420, 3660, 1780},
       {3356, 1476, 3604, 1724}},
      // Offsets are 1080p pixels: 30 is 20 at 720, then 1.5 times it all,
      // rounded half up (63 x 1.5 = 94.5 gives 95).
      {1280,
       720,
       Layout(C::kBottomRight, 1500, 30),
       {1115, 535, 1205, 625},
       {1127, 547, 1193, 613}},
      {1280, 720, Layout(C::kTopLeft, 500, -1, 0), {15, 32, 45, 62}, {19, 36, 41, 58}},
      // Offsets that would leave the picture keep the panel at its edges.
      {1920,
       1080,
       Layout(C::kBottomRight, 1000, 5000, -500),
       {0, 990, 90, 1080},
       {14, 1004, 76, 1066}},
      {1280, 800, Layout(C::kTopLeft, 1000, -100, -100), {0, 40, 60, 100}, {8, 48, 52, 92}},
      // A tiny picture: the scaled 1080p row's rounding, without an inset.
      {16, 9, Layout(C::kBottomRight, 3000), {13, 3, 16, 6}, {13, 3, 16, 6}},
  };
  for (const PlacementCase& c : cases) {
    const PanelRects rects = Placed(c.width, c.height, c.layout);
    const auto name = std::string(CornerName(c.layout.corner)) + " " + std::to_string(c.width) +
                      " scale " + std::to_string(c.layout.scaleMilli);
    EXPECT_EQ(Edges(rects.panel), Edges(c.panel)) << name;
    EXPECT_EQ(Edges(rects.icon), Edges(c.icon)) << name;
  }
}

TEST(PanelLayout, OpacityDimsBackgroundAndIconAlike) {
  PanelLayout layout;
  EXPECT_EQ(LayoutAlpha(kPanelAlpha, layout), kPanelAlpha);  // exactly today's
  EXPECT_EQ(LayoutAlpha(1.0f, layout), 1.0f);
  layout.opacityPercent = 50;
  EXPECT_FLOAT_EQ(LayoutAlpha(kPanelAlpha, layout), 0.3f);
  EXPECT_FLOAT_EQ(LayoutAlpha(1.0f, layout), 0.5f);
  EXPECT_TRUE(IsDefaultPlacement(PanelLayout{}));
  EXPECT_FALSE(IsDefaultPlacement(layout));
  layout = PanelLayout{};
  layout.showSlots = true;  // the wheel does not move the panel
  EXPECT_TRUE(IsDefaultPlacement(layout));
}

// Slot order: Y above, A below, B right, X left.
TEST(PanelLayout, TheWheelIsADiamondBesideThePanelMirroredAtTheEdge) {
  using C = PanelCorner;
  WheelRects wheel = LayOutWheel(Placed(1920, 1080, Layout(C::kBottomRight)), PanelLayout{});
  EXPECT_FALSE(wheel.mirrored);
  EXPECT_EQ(Edges(wheel.slot[0]), (std::vector<float>{1651, 843, 1711, 903}));
  EXPECT_EQ(Edges(wheel.slot[1]), (std::vector<float>{1651, 977, 1711, 1037}));
  EXPECT_EQ(Edges(wheel.slot[2]), (std::vector<float>{1718, 910, 1778, 970}));
  EXPECT_EQ(Edges(wheel.slot[3]), (std::vector<float>{1584, 910, 1644, 970}));
  EXPECT_EQ(Edges(wheel.icon[2]), (std::vector<float>{1727, 919, 1769, 961}));
  // On the left the wheel goes to the panel's right.
  const PanelLayout left = Layout(C::kBottomLeft);
  wheel = LayOutWheel(Placed(1920, 1080, left), left);
  EXPECT_FALSE(wheel.mirrored);
  EXPECT_EQ(wheel.slot[3].left, 135 + 7);
  // A right-corner panel pushed to the left edge: the wheel to its right.
  const PanelLayout pushed = Layout(C::kBottomRight, 1000, 1830);
  const PanelRects atEdge = Placed(1920, 1080, pushed);
  EXPECT_EQ(atEdge.panel.left, 0);
  wheel = LayOutWheel(atEdge, pushed);
  EXPECT_TRUE(wheel.mirrored);
  EXPECT_EQ(Edges(wheel.slot[3]), (std::vector<float>{97, 910, 157, 970}));
  EXPECT_EQ(Edges(wheel.slot[2]), (std::vector<float>{231, 910, 291, 970}));
  // At the top the diamond is held inside the picture.
  const PanelLayout top = Layout(C::kTopRight, 1000, 0, -95);
  wheel = LayOutWheel(Placed(1280, 800, top), top);
  EXPECT_EQ(wheel.slot[0].top, 40);
  // Scaled with the panel.
  const PanelLayout big = Layout(C::kBottomRight, 2000);
  wheel = LayOutWheel(Placed(1920, 1080, big), big);
  EXPECT_EQ(wheel.slot[0].right - wheel.slot[0].left, 120);
}

TEST(PanelLayout, ValuesAreReadStrictly) {
  PanelCorner corner{};
  EXPECT_TRUE(ParseCorner("topleft", &corner));
  EXPECT_EQ(corner, PanelCorner::kTopLeft);
  EXPECT_TRUE(ParseCorner("BottomLeft", &corner));
  EXPECT_EQ(corner, PanelCorner::kBottomLeft);
  EXPECT_FALSE(ParseCorner("Left", &corner));
  uint32_t milli = 0;
  for (const auto& [text, expected] : std::vector<std::pair<const char*, uint32_t>>{
           {"1", 1000}, {"1.5", 1500}, {"0.75", 750}, {"2.125", 2125}, {"3.", 3000}}) {
    EXPECT_TRUE(ParseScaleMilli(text, &milli)) << text;
    EXPECT_EQ(milli, expected) << text;
  }
  for (const char* text : {"", ".5", "1.2345", "1,5", "abc", "1.5x", "1000"}) {
    EXPECT_FALSE(ParseScaleMilli(text, &milli)) << text;
  }
  int32_t number = 0;
  EXPECT_TRUE(ParseWholeNumber("-20", &number));
  EXPECT_EQ(number, -20);
  EXPECT_TRUE(ParseWholeNumber("+999999", &number));
  EXPECT_EQ(number, 999999);
  for (const char* text : {"", "-", "1234567", "5x", "1.0"}) {
    EXPECT_FALSE(ParseWholeNumber(text, &number)) << text;
  }
}

}  // namespace
}  // namespace artwheel
