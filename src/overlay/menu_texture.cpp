// The settings menu: a picture of its rows drawn with GDI, made again only
// when the menu or the frame's size changed, never per frame.
#include <cwchar>

#include "overlay/dib_canvas.h"
#include "overlay/menu_view.h"
#include "overlay/overlay_renderer.h"
#include "overlay/text_faces.h"

namespace artwheel {
namespace {

constexpr BYTE kMenuAlpha = 230;
constexpr COLORREF kBackground = RGB(10, 12, 14);
constexpr COLORREF kMarked = RGB(40, 92, 156);
constexpr COLORREF kText = RGB(226, 232, 240);
constexpr COLORREF kTitle = RGB(170, 186, 204);

MenuView menuView;     // render thread only: the copy the texture shows
DibCanvas menuCanvas;  // render thread only: kept while the menu's size stays
// Every text of the menu in one, for the choice of a face that has all its glyphs.
wchar_t menuText[(2 * kMenuRowCapacity + 1) * kMenuTextCapacity];

HFONT MenuFont(int height, int weight, const wchar_t* face) {
  return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                     CLEARTYPE_QUALITY, FF_SWISS, face);
}

void Append(const wchar_t* text, size_t& used) {
  for (; *text != L'\0' && used + 1 < sizeof menuText / sizeof menuText[0]; ++text) {
    menuText[used++] = *text;
  }
  menuText[used] = L'\0';
}

// The first face of the menu's language that has every glyph of its texts.
const wchar_t* MenuFace(HDC dc, const MenuView& view) {
  size_t used = 0;
  Append(view.title, used);
  for (int i = 0; i < view.rowCount; ++i) {
    Append(view.names[i], used);
    Append(view.values[i], used);
  }
  const wchar_t* face = ChooseTextFace(dc, view.language, menuText);
  return face != nullptr ? face : kDefaultTextFace;
}

void DrawRowText(HDC dc, const wchar_t* text, RECT area, UINT alignment) {
  DrawTextW(dc, text, -1, &area, alignment | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

void FillArea(HDC dc, RECT area, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &area, brush);
  DeleteObject(brush);
}

// Title, then each item's name on the left and its value on the right; the
// selected row on a coloured bar, its value between arrows.
void DrawMenuRows(HDC dc, const MenuView& view, const MenuBox& box) {
  FillArea(dc, RECT{0, 0, box.width, box.height}, kBackground);
  SetBkMode(dc, TRANSPARENT);
  const int row = box.rowHeight;
  const int pad = box.padding;
  const wchar_t* face = MenuFace(dc, view);
  HFONT title = MenuFont(row * 7 / 10, 700, face);
  HFONT text = MenuFont(row * 3 / 5, 500, face);
  HGDIOBJ previous = SelectObject(dc, title);
  SetTextColor(dc, kTitle);
  DrawRowText(dc, view.title, RECT{pad, pad, box.width - pad, pad + row}, DT_CENTER);
  SelectObject(dc, text);
  const int valueLeft = box.valueLeft;
  for (int i = 0; i < view.rowCount; ++i) {
    const int top = pad + (i + 1) * row;
    const bool marked = i == view.selected;
    if (marked) FillArea(dc, RECT{pad / 2, top + 1, box.width - pad / 2, top + row - 1}, kMarked);
    SetTextColor(dc, kText);
    DrawRowText(dc, view.names[i], RECT{pad, top, valueLeft, top + row}, DT_LEFT);
    if (view.values[i][0] == L'\0') continue;
    wchar_t value[kMenuTextCapacity + 8];
    if (std::swprintf(value, sizeof value / sizeof value[0], marked ? L"<  %ls  >" : L"%ls",
                      view.values[i]) < 0) {
      continue;
    }
    DrawRowText(dc, value, RECT{valueLeft, top, box.width - pad, top + row}, DT_CENTER);
  }
  SelectObject(dc, previous);
  DeleteObject(title);
  DeleteObject(text);
}

}  // namespace

bool EnsureMenuTexture(uint32_t frameWidth, uint32_t frameHeight, PixelRect* rect, float* alpha) {
  OverlayRenderer& r = overlayRenderer;
  const bool changed = ReadMenuView(menuView);
  const MenuBox box = LayOutMenu(frameWidth, frameHeight, menuView.rowCount);
  *rect =
      PixelRect{static_cast<float>(box.left), static_cast<float>(box.top),
                static_cast<float>(box.left + box.width), static_cast<float>(box.top + box.height)};
  *alpha = static_cast<float>(menuView.opacityPercent) / 100.0f;
  if (!changed && r.menuTextureWidth == frameWidth && r.menuTextureHeight == frameHeight &&
      r.menuTextureRevision == menuView.revision) {
    return r.menuTexture != nullptr;  // a failed picture is made again only after a change
  }
  // The keys change first, so a failed attempt is not made again every frame.
  r.menuTextureWidth = frameWidth;
  r.menuTextureHeight = frameHeight;
  r.menuTextureRevision = menuView.revision;
  DibCanvas& canvas = menuCanvas;
  // A move or a new value keeps the size: the bitmap and the texture are
  // drawn over, not made again.
  const bool sameSize = r.menuTexture != nullptr && canvas.dc != nullptr &&
                        canvas.width == box.width && canvas.height == box.height;
  if (!sameSize) {
    ReleaseAndClear(r.menuTexture);
    if (box.width <= 0 || box.height <= 0 || !canvas.Create(box.width, box.height)) return false;
  }
  DrawMenuRows(canvas.dc, menuView, box);
  GdiFlush();
  auto* pixel = static_cast<BYTE*>(canvas.pixels);
  for (int i = 0; i < box.width * box.height; ++i) pixel[4 * i + 3] = kMenuAlpha;
  const auto width = static_cast<UINT>(box.width);
  if (sameSize) {
    ReplaceTexturePixels(r, r.menuTexture, canvas.pixels, width);
    return true;
  }
  // B8G8R8A8: the bitmap's own byte order.
  const HRESULT result = MakePixelTexture(r, canvas.pixels, width, static_cast<UINT>(box.height),
                                          DXGI_FORMAT_B8G8R8A8_UNORM, &r.menuTexture);
  if (SUCCEEDED(result) && r.menuTexture != nullptr) return true;
  LogOverlayErrorOnce("[Overlay] Menu texture creation failed: 0x%08X",
                      static_cast<unsigned>(result));
  return false;
}

void ReleaseMenuPicture() {
  if (overlayRenderer.menuTexture == nullptr && menuCanvas.dc == nullptr) return;
  ReleaseAndClear(overlayRenderer.menuTexture);
  overlayRenderer.menuTextureRevision = 0;
  menuCanvas.Release();
}

}  // namespace artwheel
