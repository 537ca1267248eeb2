#pragma once
// Where the player put the panel (corner, scale, offset, opacity) and the
// wheel of the four slots beside it. Platform-free.
#include <cstdint>
#include <string_view>

#include "overlay/overlay_layout.h"

namespace artwheel {

enum class PanelCorner : uint8_t { kBottomRight, kBottomLeft, kTopRight, kTopLeft };

inline constexpr uint32_t kDefaultScaleMilli = 1000;
inline constexpr uint32_t kMinScaleMilli = 500;
inline constexpr uint32_t kMaxScaleMilli = 3000;
inline constexpr uint32_t kDefaultOpacityPercent = 100;
inline constexpr uint32_t kMinOpacityPercent = 10;
inline constexpr int32_t kMaxOffset = 10000;
inline constexpr int kWheelSlotCount = 4;

// A plain copy that the render thread reads under the panel's lock.
struct PanelLayout {
  PanelCorner corner = PanelCorner::kBottomRight;
  uint32_t scaleMilli = kDefaultScaleMilli;  // the size's factor in thousandths
  int32_t offsetX = 0;                       // pixels at 1080p, added to the margins
  int32_t offsetY = 0;
  uint32_t opacityPercent = kDefaultOpacityPercent;
  bool showSlots = false;
};

// Corner, scale, offset and opacity as they are without their keys.
bool IsDefaultPlacement(const PanelLayout& layout);
bool SamePlacement(const PanelLayout& a, const PanelLayout& b);

const char* CornerName(PanelCorner corner);

// The values' readers; false when the text is not such a value at all. The
// range is the caller's to check.
bool ParseCorner(std::string_view text, PanelCorner* corner);
bool ParseScaleMilli(std::string_view text, uint32_t* milli);  // up to three decimals
bool ParseWholeNumber(std::string_view text, int32_t* value);  // a sign, at most 6 digits

// The panel where the layout puts it inside the placement's picture.
struct PanelRects {
  PixelRect panel;
  PixelRect icon;
  int32_t size;
  int32_t inset;
  PictureRect picture;
};
PanelRects LayOutPanel(const PanelPlacement& placement, const PanelLayout& layout);

// An alpha of today's panel under the layout's opacity.
float LayoutAlpha(float alpha, const PanelLayout& layout);

// The four slots as a diamond beside the panel, each at its face button's
// place: slot 0 (Y) above, 1 (A) below, 2 (B) right, 3 (X) left. On the
// panel's inner side, mirrored to its other side where that would leave the
// picture.
struct WheelRects {
  PixelRect slot[kWheelSlotCount];
  PixelRect icon[kWheelSlotCount];
  bool mirrored;
};
WheelRects LayOutWheel(const PanelRects& panel, const PanelLayout& layout);

}  // namespace artwheel
