#pragma once
// How the overlay's colours reach an HDR back buffer: which encoding a frame
// uses (from the setting, the back buffer's format and the colour space the
// game set), the numbers the pixel shader is handed for it, and the same
// arithmetic on the CPU for the tests. Platform-free: DXGI's values are plain
// numbers here.
#include <cstddef>
#include <cstdint>

#include "overlay/overlay_settings.h"

namespace artwheel {

// What the pixel shader writes: the images' stored sRGB values, scRGB (linear,
// 1.0 = 80 nits) or PQ (SMPTE ST 2084 over BT.2020 primaries, 1.0 = 10,000 nits).
enum class HdrEncoding : uint8_t { kAsStored = 0, kScRgb = 1, kPq = 2 };

// The DXGI values the choice looks at.
inline constexpr uint32_t kFormatR16G16B16A16Float = 10;
inline constexpr uint32_t kFormatR10G10B10A2Unorm = 24;
inline constexpr uint32_t kColorSpaceG2084P2020 = 12;  // DXGI_COLOR_SPACE_RGB_FULL_G2084_NONE_P2020

// The game's SetColorSpace1 on a swap chain: whether it called it, with what,
// and what came back (an HRESULT: negative is a failure).
struct ColorSpaceCall {
  bool called = false;
  uint32_t colorSpace = 0;
  int32_t result = 0;
};

// Auto: a half-float buffer is scRGB; a 10-bit one is PQ only after a
// successful call that set G2084/P2020; anything else is drawn as stored.
// PQ and scRGB are forced on every buffer that can hold them (PQ: the UNORM
// formats without sRGB views, scRGB: the float ones); Off is as stored.
HdrEncoding ChooseHdrEncoding(HdrMode mode, uint32_t format, const ColorSpaceCall& call);

// The pixel shader's constant buffer: x the encoding (0, 1, 2), y the scale
// of linear light (paper white / 80 for scRGB, paper white / 10,000 for PQ).
struct HdrConstants {
  float values[4];
};
HdrConstants MakeHdrConstants(HdrEncoding encoding, uint32_t paperWhiteNits);

// The shader's arithmetic, channel by channel (tests and references).
float SrgbToLinear(float stored);
// ST 2084 of a light level given as a fraction of 10,000 nits.
float PqEncode(float fractionOf10000Nits);
void Bt709ToBt2020(const float (&rgb709)[3], float (&rgb2020)[3]);
// A stored sRGB colour (0 to 1) as the encoding writes it.
void EncodeStoredColour(HdrEncoding encoding, uint32_t paperWhiteNits, const float (&stored)[3],
                        float (&out)[3]);

const char* HdrEncodingName(HdrEncoding encoding);
// "R16G16B16A16_FLOAT" and the other usual back-buffer formats, else "other".
const char* BackBufferFormatName(uint32_t format);

// What a frame draws with, and the line that says so when it changes.
struct HdrChoice {
  HdrEncoding encoding = HdrEncoding::kAsStored;
  uint32_t format = 0;
  bool colorSpaceKnown = false;
  uint32_t colorSpace = 0;
  uint32_t paperWhiteNits = 0;
};
// Whether `now` needs the line after `logged`: the encoding changed, or it is
// not as stored and the format, colour space or paper white changed.
bool HdrChoiceNeedsLine(const HdrChoice& logged, const HdrChoice& now);
// "[Overlay] HDR drawing ..." into `text`; false when it does not fit.
bool FormatHdrChoiceLine(const HdrChoice& choice, char* text, size_t size);

}  // namespace artwheel
