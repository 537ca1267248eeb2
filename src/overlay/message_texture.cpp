// The message: a 512 x 80 picture of its text, drawn with GDI once per text.
#include <cwchar>

#include "overlay/overlay_renderer.h"

namespace artwheel {
namespace {

constexpr int kWidth = 512;
constexpr int kHeight = 80;
constexpr BYTE kMessageAlpha = 216;

struct DibCanvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previousBitmap = nullptr;
  void* pixels = nullptr;

  bool Create() {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    if (dc != nullptr) bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (dc == nullptr || bitmap == nullptr || pixels == nullptr) return false;
    previousBitmap = SelectObject(dc, bitmap);
    return true;
  }

  ~DibCanvas() {
    if (previousBitmap != nullptr) SelectObject(dc, previousBitmap);
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (dc != nullptr) DeleteDC(dc);
  }
};

HFONT MessageFont(int height) {
  return CreateFontW(height, 0, 0, 0, 600, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                     CLEARTYPE_QUALITY, FF_SWISS, L"Segoe UI");
}

// One line when the text fits the width; a longer text (a confirmation that
// also says why it was not saved) in a smaller font over two lines.
void DrawMessageText(HDC dc, const wchar_t* text) {
  RECT area = {0, 0, kWidth, kHeight};
  HFONT font = MessageFont(30);
  HGDIOBJ previousFont = SelectObject(dc, font);
  RECT measured = area;
  DrawTextW(dc, text, -1, &measured, DT_CALCRECT | DT_SINGLELINE);
  if (measured.right - measured.left <= kWidth) {
    DrawTextW(dc, text, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  } else {
    SelectObject(dc, previousFont);
    DeleteObject(font);
    font = MessageFont(24);
    previousFont = SelectObject(dc, font);
    measured = area;
    DrawTextW(dc, text, -1, &measured, DT_CALCRECT | DT_CENTER | DT_WORDBREAK);
    const LONG height = measured.bottom - measured.top;
    area.top = height < kHeight ? (kHeight - height) / 2 : 0;
    DrawTextW(dc, text, -1, &area, DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS);
  }
  SelectObject(dc, previousFont);
  DeleteObject(font);
}

void DrawMessage(HDC dc, const wchar_t* text) {
  RECT area = {0, 0, kWidth, kHeight};
  HBRUSH background = CreateSolidBrush(RGB(10, 12, 14));
  FillRect(dc, &area, background);
  DeleteObject(background);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(244, 249, 255));
  DrawMessageText(dc, text);
}

HRESULT UploadMessage(OverlayRenderer& r, const void* pixels) {
  D3D11_TEXTURE2D_DESC description = {};
  description.Width = kWidth;
  description.Height = kHeight;
  description.MipLevels = 1;
  description.ArraySize = 1;
  description.Format = DXGI_FORMAT_B8G8R8A8_UNORM;  // the bitmap's own byte order
  description.SampleDesc.Count = 1;
  description.Usage = D3D11_USAGE_DEFAULT;
  description.BindFlags = D3D11_BIND_SHADER_RESOURCE;
  const D3D11_SUBRESOURCE_DATA data = {pixels, kWidth * 4, 0};
  ID3D11Texture2D* texture = nullptr;
  HRESULT result = r.device->CreateTexture2D(&description, &data, &texture);
  if (SUCCEEDED(result) && texture != nullptr) {
    result = r.device->CreateShaderResourceView(texture, nullptr, &r.messageTexture);
  }
  ReleaseAndClear(texture);
  return result;
}

}  // namespace

bool EnsureMessageTexture(const wchar_t* text) {
  OverlayRenderer& r = overlayRenderer;
  if (r.messageTexture != nullptr) {
    if (std::wcscmp(r.messageTextureText, text) == 0) return true;
    ReleaseAndClear(r.messageTexture);
  }
  // The key changes first, so a failed attempt is tried again next frame.
  std::wcsncpy(r.messageTextureText, text, kMessageCapacity - 1);
  r.messageTextureText[kMessageCapacity - 1] = L'\0';

  DibCanvas canvas;
  if (!canvas.Create()) return false;
  DrawMessage(canvas.dc, text);
  GdiFlush();
  auto* pixel = static_cast<BYTE*>(canvas.pixels);
  for (int i = 0; i < kWidth * kHeight; ++i) pixel[4 * i + 3] = kMessageAlpha;
  const HRESULT result = UploadMessage(r, canvas.pixels);
  if (SUCCEEDED(result) && r.messageTexture != nullptr) return true;
  LogOverlayErrorOnce("[Overlay] Message texture creation failed: 0x%08X",
                      static_cast<unsigned>(result));
  return false;
}

}  // namespace artwheel
