#pragma once
// What the overlay takes from the settings, handed over whole by the worker
// after every read of them and read by the render thread.
#include "base/utf8_text.h"
#include "overlay/panel_layout.h"

namespace artwheel {

struct OverlaySettings {
  bool anyResolution = false;  // [SkillPanel] AnyResolution
  PanelLayout layout;          // [SkillPanel] Corner ... ShowSlots
  // The library's folder with its trailing backslash, in UTF-8: the images are
  // in its resources folder. Empty when it is not known; then no panel shows.
  char folder[kUtf8PathSize] = {};
};

}  // namespace artwheel
