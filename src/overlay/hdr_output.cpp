#include "overlay/hdr_output.h"

#include <cmath>

#include "base/text_format.h"

namespace artwheel {
namespace {

constexpr uint32_t kFormatR32G32B32A32Float = 2;
constexpr uint32_t kFormatR16G16B16A16Unorm = 11;
constexpr uint32_t kFormatR8G8B8A8Unorm = 28;
constexpr uint32_t kFormatB8G8R8A8Unorm = 87;
constexpr float kScRgbWhiteNits = 80.0f;
constexpr float kPqPeakNits = 10000.0f;

bool HoldsScRgb(uint32_t format) {
  return format == kFormatR16G16B16A16Float || format == kFormatR32G32B32A32Float;
}

// PQ is a plain code value: any UNORM buffer the display takes as it is.
bool HoldsPq(uint32_t format) {
  return format == kFormatR10G10B10A2Unorm || format == kFormatR16G16B16A16Unorm ||
         format == kFormatR8G8B8A8Unorm || format == kFormatB8G8R8A8Unorm;
}

// BT.709 primaries to BT.2020 (ITU-R BT.2087), rows summing to 1.
constexpr float kBt709To2020[3][3] = {{0.6274040f, 0.3292820f, 0.0433136f},
                                      {0.0690970f, 0.9195400f, 0.0113612f},
                                      {0.0163916f, 0.0880132f, 0.8955950f}};

}  // namespace

HdrEncoding ChooseHdrEncoding(HdrMode mode, uint32_t format, const ColorSpaceCall& call) {
  switch (mode) {
    case HdrMode::kScRgb:
      return HoldsScRgb(format) ? HdrEncoding::kScRgb : HdrEncoding::kAsStored;
    case HdrMode::kPq:
      return HoldsPq(format) ? HdrEncoding::kPq : HdrEncoding::kAsStored;
    case HdrMode::kAuto:
      if (format == kFormatR16G16B16A16Float) return HdrEncoding::kScRgb;
      if (format == kFormatR10G10B10A2Unorm && call.called && call.result >= 0 &&
          call.colorSpace == kColorSpaceG2084P2020) {
        return HdrEncoding::kPq;
      }
      return HdrEncoding::kAsStored;
    case HdrMode::kOff:
      break;
  }
  return HdrEncoding::kAsStored;
}

HdrConstants MakeHdrConstants(HdrEncoding encoding, uint32_t paperWhiteNits) {
  const float nits = static_cast<float>(paperWhiteNits);
  switch (encoding) {
    case HdrEncoding::kScRgb:
      return {{1.0f, nits / kScRgbWhiteNits, 0.0f, 0.0f}};
    case HdrEncoding::kPq:
      return {{2.0f, nits / kPqPeakNits, 0.0f, 0.0f}};
    case HdrEncoding::kAsStored:
      break;
  }
  return {{0.0f, 1.0f, 0.0f, 0.0f}};
}

float SrgbToLinear(float stored) {
  if (stored <= 0.04045f) return stored / 12.92f;
  return std::pow((stored + 0.055f) / 1.055f, 2.4f);
}

float PqEncode(float fractionOf10000Nits) {
  constexpr float m1 = 2610.0f / 16384.0f;
  constexpr float m2 = 2523.0f / 4096.0f * 128.0f;
  constexpr float c1 = 3424.0f / 4096.0f;
  constexpr float c2 = 2413.0f / 4096.0f * 32.0f;
  constexpr float c3 = 2392.0f / 4096.0f * 32.0f;
  const float y = std::pow(fractionOf10000Nits < 0.0f ? 0.0f : fractionOf10000Nits, m1);
  return std::pow((c1 + c2 * y) / (1.0f + c3 * y), m2);
}

void Bt709ToBt2020(const float (&rgb709)[3], float (&rgb2020)[3]) {
  for (int row = 0; row < 3; ++row) {
    rgb2020[row] = kBt709To2020[row][0] * rgb709[0] + kBt709To2020[row][1] * rgb709[1] +
                   kBt709To2020[row][2] * rgb709[2];
  }
}

void EncodeStoredColour(HdrEncoding encoding, uint32_t paperWhiteNits, const float (&stored)[3],
                        float (&out)[3]) {
  const float scale = MakeHdrConstants(encoding, paperWhiteNits).values[1];
  float linear[3];
  for (int i = 0; i < 3; ++i) linear[i] = SrgbToLinear(stored[i]);
  switch (encoding) {
    case HdrEncoding::kScRgb:
      for (int i = 0; i < 3; ++i) out[i] = linear[i] * scale;
      return;
    case HdrEncoding::kPq: {
      float wide[3];
      Bt709ToBt2020(linear, wide);
      for (int i = 0; i < 3; ++i) out[i] = PqEncode(wide[i] * scale);
      return;
    }
    case HdrEncoding::kAsStored:
      break;
  }
  for (int i = 0; i < 3; ++i) out[i] = stored[i];
}

const char* HdrEncodingName(HdrEncoding encoding) {
  switch (encoding) {
    case HdrEncoding::kScRgb:
      return "scRGB";
    case HdrEncoding::kPq:
      return "PQ";
    case HdrEncoding::kAsStored:
      break;
  }
  return "off (stored sRGB values)";
}

const char* BackBufferFormatName(uint32_t format) {
  switch (format) {
    case kFormatR32G32B32A32Float:
      return "R32G32B32A32_FLOAT";
    case kFormatR16G16B16A16Float:
      return "R16G16B16A16_FLOAT";
    case kFormatR16G16B16A16Unorm:
      return "R16G16B16A16_UNORM";
    case kFormatR10G10B10A2Unorm:
      return "R10G10B10A2_UNORM";
    case kFormatR8G8B8A8Unorm:
      return "R8G8B8A8_UNORM";
    case 29:
      return "R8G8B8A8_UNORM_SRGB";
    case kFormatB8G8R8A8Unorm:
      return "B8G8R8A8_UNORM";
    case 91:
      return "B8G8R8A8_UNORM_SRGB";
    default:
      return "other";
  }
}

bool HdrChoiceNeedsLine(const HdrChoice& logged, const HdrChoice& now) {
  if (now.encoding != logged.encoding) return true;
  if (now.encoding == HdrEncoding::kAsStored) return false;
  return now.format != logged.format || now.colorSpaceKnown != logged.colorSpaceKnown ||
         now.colorSpace != logged.colorSpace || now.paperWhiteNits != logged.paperWhiteNits;
}

bool FormatHdrChoiceLine(const HdrChoice& choice, char* text, size_t size) {
  char space[48];
  if (!choice.colorSpaceKnown) {
    FormatText(space, sizeof space, "not set");
  } else if (choice.colorSpace == kColorSpaceG2084P2020) {
    FormatText(space, sizeof space, "%u (G2084 P2020)", choice.colorSpace);
  } else {
    FormatText(space, sizeof space, "%u", choice.colorSpace);
  }
  return FormatText(text, size,
                    "[Overlay] HDR drawing %s: back buffer %s (format %u), colour space %s, "
                    "paper white %u nits",
                    HdrEncodingName(choice.encoding), BackBufferFormatName(choice.format),
                    choice.format, space, choice.paperWhiteNits) >= 0;
}

}  // namespace artwheel
