#pragma once
// What the overlay takes from the settings, handed over whole by the worker
// after every read of them and read by the render thread.
#include <cstdint>

#include "base/utf8_text.h"
#include "overlay/panel_layout.h"

namespace artwheel {

// How the overlay's colours are written into the back buffer ([Overlay] Hdr):
// as stored (kOff), chosen per swap chain (kAuto), PQ-encoded or scRGB.
enum class HdrMode : uint8_t { kOff, kAuto, kPq, kScRgb };

inline constexpr uint32_t kDefaultPaperWhiteNits = 203;
inline constexpr uint32_t kMinPaperWhiteNits = 80;
inline constexpr uint32_t kMaxPaperWhiteNits = 1000;

struct OverlaySettings {
  bool anyResolution = false;                           // [SkillPanel] AnyResolution
  PanelLayout layout;                                   // [SkillPanel] Corner ... ShowSlots
  HdrMode hdr = HdrMode::kOff;                          // [Overlay] Hdr
  uint32_t hdrPaperWhiteNits = kDefaultPaperWhiteNits;  // [Overlay] HdrPaperWhite
  // The library's folder with its trailing backslash, in UTF-8: the images are
  // in its resources folder. Empty when it is not known; then no panel shows.
  char folder[kUtf8PathSize] = {};
};

}  // namespace artwheel
