// The message: a 512 x 80 picture of its text, drawn with GDI once per text,
// in a face that has every glyph of it.
#include <cwchar>

#include "overlay/dib_canvas.h"
#include "overlay/message_picture.h"
#include "overlay/overlay_renderer.h"
#include "overlay/text_faces.h"
#include "overlay/text_fit.h"

namespace artwheel {
namespace {

constexpr int kWidth = kMessagePictureWidth;
constexpr int kHeight = kMessagePictureHeight;
constexpr BYTE kMessageAlpha = 216;

// One line at 30 pixels when it fits; else up to three lines as they fit the
// height, at 24 pixels or smaller down to 16, cut at the end below that.
constexpr TextFit kMessageFit = {kWidth, kHeight, 30, 24, 16, 3};

DibCanvas messageCanvas;  // made at the first message, kept: every message has its size

MessageDrawing DrawMessage(HDC dc, const OverlayMessage& message) {
  RECT area = {0, 0, kWidth, kHeight};
  HBRUSH background = CreateSolidBrush(RGB(10, 12, 14));
  FillRect(dc, &area, background);
  DeleteObject(background);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(244, 249, 255));
  const FaceChoice choice =
      ChooseTextOrEnglish(dc, message.language, message.text, message.english);
  MessageDrawing drawing;
  drawing.english = choice.english;
  drawing.fitted = DrawFittedText(dc, choice.text, choice.face, kMessageFit);
  return drawing;
}

struct Upload {
  OverlayRenderer* renderer;
  HRESULT result;
};

// A texture made before takes the new pixels in place.
void UploadPixels(const void* pixels, const MessageDrawing& /*drawing*/, void* context) {
  auto* upload = static_cast<Upload*>(context);
  OverlayRenderer& r = *upload->renderer;
  if (r.messageTexture != nullptr) {
    ReplaceTexturePixels(r, r.messageTexture, pixels, kWidth);
    upload->result = S_OK;
    return;
  }
  // B8G8R8A8: the bitmap's own byte order.
  upload->result =
      MakePixelTexture(r, pixels, kWidth, kHeight, DXGI_FORMAT_B8G8R8A8_UNORM, &r.messageTexture);
}

}  // namespace

bool DrawMessagePicture(const OverlayMessage& message, UseMessagePixels use, void* context) {
  DibCanvas& canvas = messageCanvas;
  if (canvas.dc == nullptr && !canvas.Create(kWidth, kHeight)) return false;
  const MessageDrawing drawing = DrawMessage(canvas.dc, message);
  GdiFlush();
  auto* pixel = static_cast<BYTE*>(canvas.pixels);
  for (int i = 0; i < kWidth * kHeight; ++i) pixel[4 * i + 3] = kMessageAlpha;
  use(canvas.pixels, drawing, context);
  return true;
}

bool EnsureMessageTexture(const OverlayMessage& message) {
  OverlayRenderer& r = overlayRenderer;
  if (r.messageTexture != nullptr && std::wcscmp(r.messageTextureText, message.text) == 0 &&
      r.messageTextureLanguage == message.language) {
    return true;
  }
  // The key changes first, so a failed attempt is tried again next frame.
  std::wcsncpy(r.messageTextureText, message.text, kMessageCapacity - 1);
  r.messageTextureText[kMessageCapacity - 1] = L'\0';
  r.messageTextureLanguage = message.language;

  Upload upload = {&r, E_FAIL};
  if (!DrawMessagePicture(message, &UploadPixels, &upload)) {
    ReleaseAndClear(r.messageTexture);  // not the old text under the new key
    return false;
  }
  if (SUCCEEDED(upload.result) && r.messageTexture != nullptr) return true;
  LogOverlayErrorOnce("[Overlay] Message texture creation failed: 0x%08X",
                      static_cast<unsigned>(upload.result));
  return false;
}

void ReleaseMessagePicture() {
  ReleaseAndClear(overlayRenderer.messageTexture);
  overlayRenderer.messageTextureText[0] = L'\0';
  messageCanvas.Release();
}

}  // namespace artwheel
