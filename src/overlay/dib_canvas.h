#pragma once
// A 32-bit top-down bitmap with its own memory context, for GDI to draw the
// overlay's texts into before they are uploaded as a texture. Making one costs
// milliseconds under Wine, so a picture drawn again at one size keeps its own.
#include <windows.h>

namespace artwheel {

struct DibCanvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previousBitmap = nullptr;
  void* pixels = nullptr;  // width * height BGRA pixels, rows top down
  int width = 0;
  int height = 0;

  // Any bitmap made before is let go first; false (and nothing kept) when
  // GDI refuses.
  bool Create(int newWidth, int newHeight) {
    Release();
    width = newWidth;
    height = newHeight;
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    if (dc != nullptr) bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (dc == nullptr || bitmap == nullptr || pixels == nullptr) {
      Release();
      return false;
    }
    previousBitmap = SelectObject(dc, bitmap);
    return true;
  }

  void Release() {
    if (previousBitmap != nullptr) SelectObject(dc, previousBitmap);
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (dc != nullptr) DeleteDC(dc);
    dc = nullptr;
    bitmap = nullptr;
    previousBitmap = nullptr;
    pixels = nullptr;
    width = 0;
    height = 0;
  }

  DibCanvas() = default;
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;
  // No destructor: a kept bitmap is let go with the render objects, never
  // from the library's unload, where GDI is not to be called.
  ~DibCanvas() = default;
};

}  // namespace artwheel
