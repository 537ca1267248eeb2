#include "overlay/text_fit.h"

#include <algorithm>
#include <iterator>

#include "overlay/line_breaks.h"
#include "overlay/overlay_state.h"
#include "overlay/text_faces.h"

namespace artwheel {
namespace {

constexpr int kHeightStep = 2;

int MeasureWidth(void* context, const wchar_t* text, int length) {
  SIZE size = {};
  GetTextExtentPoint32W(static_cast<HDC>(context), text, length, &size);
  return size.cx;
}

bool DrawOnOneLine(HDC dc, const wchar_t* text, const wchar_t* face, const TextFit& fit,
                   FittedText& fitted) {
  const SelectedTextFont font(dc, face, fit.singleLineHeight);
  RECT area = {0, 0, fit.width, fit.height};
  RECT measured = area;
  DrawTextW(dc, text, -1, &measured, DT_CALCRECT | DT_SINGLELINE);
  if (measured.right - measured.left > fit.width) return false;
  DrawTextW(dc, text, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  fitted = {fit.singleLineHeight, 1, false};
  return true;
}

// The lines centred as a block, each line centred; `flags` adds the breaking.
void DrawBlock(HDC dc, const wchar_t* text, const TextFit& fit, UINT flags) {
  RECT area = {0, 0, fit.width, fit.height};
  RECT measured = area;
  DrawTextW(dc, text, -1, &measured, DT_CALCRECT | DT_CENTER | flags);
  const LONG height = measured.bottom - measured.top;
  area.top = height < fit.height ? (fit.height - height) / 2 : 0;
  DrawTextW(dc, text, -1, &area, DT_CENTER | flags);
}

// The system's own breaks at spaces, when every line and the block fit.
bool DrawWordWrapped(HDC dc, const wchar_t* text, const wchar_t* face, const TextFit& fit,
                     FittedText& fitted) {
  const SelectedTextFont font(dc, face, fit.wrappedHeight);
  RECT measured = {0, 0, fit.width, fit.height};
  DrawTextW(dc, text, -1, &measured, DT_CALCRECT | DT_CENTER | DT_WORDBREAK);
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  const LONG height = measured.bottom - measured.top;
  if (measured.right - measured.left > fit.width || height > fit.height ||
      height > metrics.tmHeight * fit.maxLines) {
    return false;
  }
  DrawBlock(dc, text, fit, DT_WORDBREAK | DT_END_ELLIPSIS);
  fitted = {fit.wrappedHeight, static_cast<int>(height / std::max<LONG>(1, metrics.tmHeight)),
            false};
  return true;
}

// Our own breaks at one height; at the floor the text is cut to fit.
bool DrawLaidOut(HDC dc, const wchar_t* text, const wchar_t* face, int height, const TextFit& fit,
                 FittedText& fitted) {
  const SelectedTextFont font(dc, face, height);
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  const int lineHeight = std::max<int>(1, metrics.tmHeight);
  const int maxLines = std::max(1, std::min(fit.maxLines, fit.height / lineHeight));
  const bool atFloor = height - kHeightStep < fit.smallestHeight;
  wchar_t lines[kMessageCapacity + 16] = {};
  const LineLayout layout =
      LayOutLines(text, maxLines, fit.width, atFloor, &MeasureWidth, dc, lines, std::size(lines));
  if (!layout.fits && !atFloor) return false;
  DrawBlock(dc, lines, fit, DT_NOPREFIX);
  fitted = {height, layout.lines, !layout.fits};
  return true;
}

}  // namespace

FittedText DrawFittedText(HDC dc, const wchar_t* text, const wchar_t* face, const TextFit& fit) {
  FittedText fitted;
  if (DrawOnOneLine(dc, text, face, fit, fitted) || DrawWordWrapped(dc, text, face, fit, fitted)) {
    return fitted;
  }
  for (int height = fit.wrappedHeight; height >= fit.smallestHeight; height -= kHeightStep) {
    if (DrawLaidOut(dc, text, face, height, fit, fitted)) break;
  }
  return fitted;
}

}  // namespace artwheel
