#include "overlay/panel_layout.h"

#include "base/ini_text.h"

namespace artwheel {
namespace {

constexpr int64_t kReferenceHeight = 1080;

constexpr const char* kCornerNames[] = {"BottomRight", "BottomLeft", "TopRight", "TopLeft"};

// numerator / denominator rounded half up, for either sign (denominator > 0).
int64_t RoundedRatio(int64_t numerator, int64_t denominator) {
  const int64_t twice = 2 * numerator + denominator;
  const int64_t quotient = twice / (2 * denominator);
  return (twice % (2 * denominator) < 0) ? quotient - 1 : quotient;
}

int64_t AtLeastOne(int64_t value) { return value < 1 ? 1 : value; }

int64_t Scaled(int64_t value, const PanelLayout& layout) {
  return RoundedRatio(value * layout.scaleMilli, 1000);
}

bool IsRight(PanelCorner corner) {
  return corner == PanelCorner::kBottomRight || corner == PanelCorner::kTopRight;
}

bool IsBottom(PanelCorner corner) {
  return corner == PanelCorner::kBottomRight || corner == PanelCorner::kBottomLeft;
}

// The start of a span of `length` that lies `margin` in from the picture's
// near or far edge, kept inside the picture (its start edge wins).
int64_t PlaceSpan(int64_t pictureStart, int64_t pictureLength, int64_t margin, int64_t length,
                  bool fromFarEdge) {
  int64_t start =
      fromFarEdge ? pictureStart + pictureLength - margin - length : pictureStart + margin;
  if (start + length > pictureStart + pictureLength) start = pictureStart + pictureLength - length;
  if (start < pictureStart) start = pictureStart;
  return start;
}

PixelRect Square(int64_t left, int64_t top, int64_t size) {
  return {static_cast<float>(left), static_cast<float>(top), static_cast<float>(left + size),
          static_cast<float>(top + size)};
}

// The icon inset rule of the panel: none where it would swallow the square.
int64_t UsableInset(int64_t inset, int64_t size) {
  if (inset < 0) return 0;
  return 2 * inset >= size ? 0 : inset;
}

PixelRect Shrunk(const PixelRect& rect, int64_t inset) {
  const float i = static_cast<float>(inset);
  return {rect.left + i, rect.top + i, rect.right - i, rect.bottom - i};
}

}  // namespace

bool IsDefaultPlacement(const PanelLayout& layout) { return SamePlacement(layout, PanelLayout{}); }

bool SamePlacement(const PanelLayout& a, const PanelLayout& b) {
  return a.corner == b.corner && a.scaleMilli == b.scaleMilli && a.offsetX == b.offsetX &&
         a.offsetY == b.offsetY && a.opacityPercent == b.opacityPercent;
}

const char* CornerName(PanelCorner corner) { return kCornerNames[static_cast<int>(corner) & 3]; }

bool ParseCorner(std::string_view text, PanelCorner* corner) {
  for (int i = 0; i < 4; ++i) {
    if (EqualsIgnoreCaseAscii(text, kCornerNames[i])) {
      *corner = static_cast<PanelCorner>(i);
      return true;
    }
  }
  return false;
}

bool ParseScaleMilli(std::string_view text, uint32_t* milli) {
  uint32_t whole = 0;
  size_t i = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (i >= 3) return false;
    whole = whole * 10 + static_cast<uint32_t>(text[i] - '0');
  }
  if (i == 0) return false;
  uint32_t fraction = 0;
  uint32_t unit = 100;
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      if (unit == 0) return false;
      fraction += unit * static_cast<uint32_t>(text[i] - '0');
      unit /= 10;
    }
  }
  if (i != text.size()) return false;
  *milli = whole * 1000 + fraction;
  return true;
}

bool ParseWholeNumber(std::string_view text, int32_t* value) {
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) i = 1;
  if (i == text.size() || text.size() - i > 6) return false;
  int32_t number = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    number = number * 10 + (text[i] - '0');
  }
  *value = negative ? -number : number;
  return true;
}

PanelRects LayOutPanel(const PanelPlacement& placement, const PanelLayout& layout) {
  const ResolutionProfile& row = placement.row;
  const int64_t rowHeight = row.height == 0 ? 1 : row.height;
  // Offsets are 1080p pixels, taken to the row's picture as its margins were.
  const int64_t offsetX = RoundedRatio(int64_t{layout.offsetX} * rowHeight, kReferenceHeight);
  const int64_t offsetY = RoundedRatio(int64_t{layout.offsetY} * rowHeight, kReferenceHeight);
  const int64_t horizontalMargin = Scaled(row.rightMargin + offsetX, layout);
  const int64_t verticalMargin = Scaled(row.bottomMargin + offsetY, layout);
  const int64_t size = AtLeastOne(Scaled(row.size, layout));
  const int64_t inset = UsableInset(Scaled(row.inset, layout), size);

  const PictureRect& picture = placement.picture;
  const int64_t left =
      PlaceSpan(picture.left, picture.width, horizontalMargin, size, IsRight(layout.corner));
  const int64_t top =
      PlaceSpan(picture.top, picture.height, verticalMargin, size, IsBottom(layout.corner));
  PanelRects rects{};
  rects.panel = Square(left, top, size);
  rects.icon = Shrunk(rects.panel, inset);
  rects.size = static_cast<int32_t>(size);
  rects.inset = static_cast<int32_t>(inset);
  rects.picture = picture;
  return rects;
}

float LayoutAlpha(float alpha, const PanelLayout& layout) {
  if (layout.opacityPercent >= kDefaultOpacityPercent) return alpha;
  return alpha * static_cast<float>(layout.opacityPercent) / 100.0f;
}

WheelRects LayOutWheel(const PanelRects& panel, const PanelLayout& layout) {
  // Slots two thirds of the panel, a gap of half its inset (at least a pixel).
  const int64_t cell = AtLeastOne(RoundedRatio(2 * int64_t{panel.size}, 3));
  const int64_t gap = AtLeastOne(RoundedRatio(panel.inset, 2));
  const int64_t extent = 3 * cell + 2 * gap;
  const int64_t panelLeft = static_cast<int64_t>(panel.panel.left);
  const int64_t panelTop = static_cast<int64_t>(panel.panel.top);
  const int64_t pictureLeft = panel.picture.left;
  const int64_t pictureRight = pictureLeft + panel.picture.width;

  const int64_t inside = panelLeft - gap - extent;       // left of the panel
  const int64_t outside = panelLeft + panel.size + gap;  // right of it
  const bool preferLeft = IsRight(layout.corner);
  int64_t left = preferLeft ? inside : outside;
  WheelRects wheel{};
  if (left < pictureLeft || left + extent > pictureRight) {
    left = preferLeft ? outside : inside;
    wheel.mirrored = true;
  }
  left = PlaceSpan(pictureLeft, panel.picture.width, left - pictureLeft, extent, false);
  const int64_t top =
      PlaceSpan(panel.picture.top, panel.picture.height,
                panelTop + (panel.size - extent) / 2 - panel.picture.top, extent, false);
  constexpr int kColumn[kWheelSlotCount] = {1, 1, 2, 0};
  constexpr int kRow[kWheelSlotCount] = {0, 2, 1, 1};
  const int64_t inset = UsableInset(RoundedRatio(2 * int64_t{panel.inset}, 3), cell);
  for (int slot = 0; slot < kWheelSlotCount; ++slot) {
    wheel.slot[slot] =
        Square(left + kColumn[slot] * (cell + gap), top + kRow[slot] * (cell + gap), cell);
    wheel.icon[slot] = Shrunk(wheel.slot[slot], inset);
  }
  return wheel;
}

}  // namespace artwheel
