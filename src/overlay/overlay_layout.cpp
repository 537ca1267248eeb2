#include "overlay/overlay_layout.h"

#include <cstring>

#include "core/text_format.h"

namespace artwheel {

const ResolutionProfile* FindResolutionProfile(uint32_t width, uint32_t height) {
  for (const ResolutionProfile& profile : kResolutionProfiles) {
    if (profile.width == width && profile.height == height) return &profile;
  }
  return nullptr;
}

PixelRect PanelRect(const ResolutionProfile& profile, float width, float height) {
  const float size = static_cast<float>(profile.size < 1 ? 1 : profile.size);
  const float right = width - static_cast<float>(profile.rightMargin);
  const float bottom = height - static_cast<float>(profile.bottomMargin);
  return {right - size, bottom - size, right, bottom};
}

PixelRect IconRect(const ResolutionProfile& profile, const PixelRect& panel) {
  int32_t inset = profile.inset < 0 ? 0 : profile.inset;
  const int32_t size = profile.size < 1 ? 1 : profile.size;
  if (2 * inset >= size) inset = 0;
  const float i = static_cast<float>(inset);
  return {panel.left + i, panel.top + i, panel.right - i, panel.bottom - i};
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

bool BuildResourcePathFrom(const char* iniPath, const char* fileName, char* out, size_t size) {
  if (out == nullptr || size == 0) return false;
  out[0] = '\0';
  if (iniPath == nullptr || fileName == nullptr) return false;
  const char* lastSeparator = std::strrchr(iniPath, '\\');
  if (lastSeparator == nullptr) return false;
  const int folderLength = static_cast<int>(lastSeparator - iniPath + 1);
  return FormatText(out, size, "%.*sresources\\%s", folderLength, iniPath, fileName) >= 0;
}

}  // namespace artwheel
