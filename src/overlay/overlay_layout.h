#pragma once
// Where the skill panel and the message go in a frame, and the quads that draw
// them. Platform-free.
#include <cstddef>
#include <cstdint>

namespace artwheel {

struct ResolutionProfile {
  uint32_t width;
  uint32_t height;
  const char* name;
  int32_t rightMargin;
  int32_t bottomMargin;
  int32_t size;
  int32_t inset;
};

inline constexpr ResolutionProfile kResolutionProfiles[] = {
    {2560, 1440, "2560x1440", 60, 130, 120, 16},
    {1920, 1080, "1920x1080", 45, 95, 90, 14},
    {1366, 768, "1366x768", 32, 72, 60, 8},
    {1280, 720, "1280x720", 30, 63, 60, 8},
};

inline constexpr uint32_t kFallbackWidth = 1280;
inline constexpr uint32_t kFallbackHeight = 720;
inline constexpr float kMessageWidth = 512.0f;
inline constexpr float kMessageHeight = 80.0f;
inline constexpr float kPanelAlpha = 0.6f;

// The row for exactly this size, or null.
const ResolutionProfile* FindResolutionProfile(uint32_t width, uint32_t height);

// The game shows a 16:9 picture and letter- or pillar-boxes other shapes.
struct PictureRect {
  uint32_t left, top, width, height;
};
// The largest 16:9 rectangle of whole pixels centred in the frame, at least 1 x 1.
PictureRect GamePicture(uint32_t width, uint32_t height);

// Where the panel goes in a frame: the row it is measured with and the right
// and bottom edges its margins count from.
struct PanelPlacement {
  ResolutionProfile row;  // a table row, or the 1920 x 1080 row scaled to the picture
  float right, bottom;
  PictureRect picture;
  bool fitted;  // placed in the game's picture rather than found by the frame's size
};

// The row of the frame's exact size. Otherwise, with anyResolution, the row of
// the picture's exact size inside the picture, else the 1920 x 1080 row scaled
// by the picture's height / 1080 (each number rounded to the nearest pixel).
// False when the panel has no place.
bool PlacePanel(uint32_t width, uint32_t height, bool anyResolution, PanelPlacement& out);

struct PixelRect {
  float left, top, right, bottom;
};

// 512 x 80, centred horizontally, 15% down from the top.
PixelRect MessageRect(float width, float height);

struct OverlayVertex {
  float x, y;  // normalised device coordinates
  float u, v;
  float alpha;
};
static_assert(sizeof(OverlayVertex) == 20, "the input layout reads 20-byte vertices");

inline constexpr size_t kQuadVertexCount = 6;

// Two clockwise triangles covering the rectangle of a width x height frame.
void BuildQuad(const PixelRect& rect, float width, float height, float alpha,
               OverlayVertex (&vertices)[kQuadVertexCount]);

// "<folder>resources\<file name>" for the library's folder (with its trailing
// backslash). False, with an empty output, when the folder is empty or the
// path would not fit `out` or be longer than the system's paths may be: a cut
// path could name another file.
bool BuildResourcePathFrom(const char* folder, const char* fileName, char* out, size_t size);

}  // namespace artwheel
