#pragma once
// The message's picture: its text drawn with GDI into 512 x 80 pixels.
#include "overlay/overlay_state.h"
#include "overlay/text_fit.h"

namespace artwheel {

inline constexpr int kMessagePictureWidth = 512;
inline constexpr int kMessagePictureHeight = 80;

struct MessageDrawing {
  bool english = false;  // no installed face had every glyph of the player's language
  FittedText fitted;
};

// Draws the message into top-down BGRA pixels, alpha 216 everywhere, and hands
// them to `use` while they last. False when GDI could not make the picture.
using UseMessagePixels = void (*)(const void* pixels, const MessageDrawing& drawing, void* context);
bool DrawMessagePicture(const OverlayMessage& message, UseMessagePixels use, void* context);

}  // namespace artwheel
