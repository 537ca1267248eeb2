#include "overlay/overlay_layout.h"

#include "base/text_format.h"
#include "base/utf8_text.h"

namespace artwheel {

const ResolutionProfile* FindResolutionProfile(uint32_t width, uint32_t height) {
  for (const ResolutionProfile& profile : kResolutionProfiles) {
    if (profile.width == width && profile.height == height) return &profile;
  }
  return nullptr;
}

PictureRect GamePicture(uint32_t width, uint32_t height) {
  const uint64_t w = width == 0 ? 1 : width;
  const uint64_t h = height == 0 ? 1 : height;
  uint64_t pictureWidth = w;
  uint64_t pictureHeight = h;
  if (w * 9 >= h * 16) {
    pictureWidth = h * 16 / 9;  // wider than 16:9: bars left and right
  } else {
    pictureHeight = w * 9 / 16;  // taller: bars above and below
  }
  if (pictureWidth == 0) pictureWidth = 1;
  if (pictureHeight == 0) pictureHeight = 1;
  return {static_cast<uint32_t>((w - pictureWidth) / 2),
          static_cast<uint32_t>((h - pictureHeight) / 2), static_cast<uint32_t>(pictureWidth),
          static_cast<uint32_t>(pictureHeight)};
}

namespace {

constexpr uint32_t kReferenceHeight = 1080;
constexpr const ResolutionProfile& kReferenceRow = kResolutionProfiles[1];
static_assert(kReferenceRow.width == 1920 && kReferenceRow.height == kReferenceHeight,
              "other sizes are scaled from the 1920 x 1080 row");

int32_t ScaleToPicture(int32_t value, uint32_t pictureHeight) {
  // Round half up in integers: exact for every frame size, no overflow.
  const int64_t scaled = (static_cast<int64_t>(value) * 2 * pictureHeight + kReferenceHeight) /
                         (2 * static_cast<int64_t>(kReferenceHeight));
  return static_cast<int32_t>(scaled);
}

}  // namespace

bool PlacePanel(uint32_t width, uint32_t height, bool anyResolution, PanelPlacement& out) {
  if (const ResolutionProfile* exact = FindResolutionProfile(width, height)) {
    out = {*exact,
           static_cast<float>(width),
           static_cast<float>(height),
           {0, 0, width, height},
           false};
    return true;
  }
  if (!anyResolution) return false;
  const PictureRect picture = GamePicture(width, height);
  ResolutionProfile row{};
  if (const ResolutionProfile* inside = FindResolutionProfile(picture.width, picture.height)) {
    row = *inside;
  } else {
    row = kReferenceRow;
    row.width = picture.width;
    row.height = picture.height;
    row.rightMargin = ScaleToPicture(row.rightMargin, picture.height);
    row.bottomMargin = ScaleToPicture(row.bottomMargin, picture.height);
    row.size = ScaleToPicture(row.size, picture.height);
    row.inset = ScaleToPicture(row.inset, picture.height);
  }
  out = {row, static_cast<float>(static_cast<uint64_t>(picture.left) + picture.width),
         static_cast<float>(static_cast<uint64_t>(picture.top) + picture.height), picture, true};
  return true;
}

PixelRect MessageRect(float width, float height) {
  const float left = (width - kMessageWidth) * 0.5f;
  const float top = height * 0.15f;
  return {left, top, left + kMessageWidth, top + kMessageHeight};
}

void BuildQuad(const PixelRect& rect, float width, float height, float alpha,
               OverlayVertex (&vertices)[kQuadVertexCount]) {
  const float left = (rect.left / width) * 2.0f - 1.0f;
  const float right = (rect.right / width) * 2.0f - 1.0f;
  const float top = 1.0f - (rect.top / height) * 2.0f;
  const float bottom = 1.0f - (rect.bottom / height) * 2.0f;
  vertices[0] = {left, top, 0.0f, 0.0f, alpha};
  vertices[1] = {right, top, 1.0f, 0.0f, alpha};
  vertices[2] = {left, bottom, 0.0f, 1.0f, alpha};
  vertices[3] = {right, top, 1.0f, 0.0f, alpha};
  vertices[4] = {right, bottom, 1.0f, 1.0f, alpha};
  vertices[5] = {left, bottom, 0.0f, 1.0f, alpha};
}

bool BuildResourcePathFrom(const char* folder, const char* fileName, char* out, size_t size) {
  if (out == nullptr || size == 0) return false;
  out[0] = '\0';
  if (folder == nullptr || folder[0] == '\0' || fileName == nullptr) return false;
  if (FormatText(out, size, "%sresources\\%s", folder, fileName) >= 0 && FitsSystemPath(out)) {
    return true;
  }
  out[0] = '\0';
  return false;
}

}  // namespace artwheel
