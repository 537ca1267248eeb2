#include "overlay/line_breaks.h"

#include <cwchar>

namespace artwheel {
namespace {

constexpr wchar_t kEllipsis[] = L"...";

bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Characters of scripts that set no spaces between words: CJK symbols and
// punctuation, kana, ideographs, fullwidth forms.
bool IsWrittenWithoutSpaces(wchar_t c) {
  return (c >= 0x2E80 && c <= 0x31FF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFF00 && c <= 0xFFEF);
}

bool IsOneOf(wchar_t c, const wchar_t* set) { return std::wcschr(set, c) != nullptr && c != 0; }

bool CanBreakBefore(const wchar_t* text, int i) {
  const wchar_t before = text[i - 1];
  const wchar_t after = text[i];
  if (IsLowSurrogate(after)) return false;
  if (before == L' ' || after == L' ') return true;
  if (IsOneOf(after,
              L"\u3001\u3002\uFF0C\uFF0E\uFF1A\uFF1B\uFF01\uFF1F\uFF09\u300D\u300F\u3011"
              L"\u3015\u3009\u300B\u30FC\u2026") ||
      IsOneOf(before, L"\uFF08\u300C\u300E\u3010\u3014\u3008\u300A")) {
    return false;
  }
  return IsWrittenWithoutSpaces(before) || IsWrittenWithoutSpaces(after);
}

int TrimEnd(const wchar_t* text, int start, int end) {
  while (end > start && text[end - 1] == L' ') --end;
  return end;
}

struct Layout {
  const wchar_t* text;
  int length;
  int maxWidth;
  MeasureText measure;
  void* context;

  int Width(int start, int end) const { return measure(context, text + start, end - start); }

  // The furthest end of a line from `start` that fits: at a break, or with
  // `anywhere` at any character; `start` when none fits.
  int LineEnd(int start, bool anywhere) const {
    int best = start;
    for (int end = start + 1; end <= length; ++end) {
      const bool boundary =
          end == length || (anywhere ? !IsLowSurrogate(text[end]) : CanBreakBefore(text, end));
      if (!boundary) continue;
      if (Width(start, TrimEnd(text, start, end)) > maxWidth) break;
      best = end;
    }
    return best;
  }
};

struct Output {
  wchar_t* out = nullptr;
  size_t size = 0;
  size_t used = 0;

  bool Append(const wchar_t* text, int count) {
    if (used + static_cast<size_t>(count) + 1 > size) return false;
    std::wmemcpy(out + used, text, static_cast<size_t>(count));
    used += static_cast<size_t>(count);
    out[used] = L'\0';
    return true;
  }
};

int SkipSpaces(const wchar_t* text, int i, int length) {
  while (i < length && text[i] == L' ') ++i;
  return i;
}

}  // namespace

LineLayout LayOutLines(const wchar_t* text, int maxLines, int maxWidth, bool cutToFit,
                       MeasureText measure, void* context, wchar_t* out, size_t outSize) {
  LineLayout result;
  if (outSize == 0) return result;
  out[0] = L'\0';
  const Layout layout{text, static_cast<int>(std::wcslen(text)), maxWidth, measure, context};
  Output output{out, outSize};
  int position = SkipSpaces(text, 0, layout.length);
  while (position < layout.length && result.lines < maxLines) {
    int end = layout.LineEnd(position, false);
    if (end == position) {
      if (!cutToFit) return result;
      end = layout.LineEnd(position, true);
      if (end == position) return result;  // not even one character fits
    }
    const bool last = result.lines + 1 == maxLines;
    const int next = SkipSpaces(text, end, layout.length);
    if (last && next < layout.length && cutToFit) {
      // What follows does not fit: cut this line where "..." still fits after it.
      const int room = maxWidth - measure(context, kEllipsis, 3);
      int cut = position;
      for (int i = position + 1; i <= layout.length; ++i) {
        if (i < layout.length && IsLowSurrogate(text[i])) continue;  // inside a pair
        if (layout.Width(position, TrimEnd(text, position, i)) > room) break;
        cut = i;
      }
      if (result.lines > 0 && !output.Append(L"\n", 1)) return result;
      const int kept = TrimEnd(text, position, cut);
      if (!output.Append(text + position, kept - position) || !output.Append(kEllipsis, 3)) {
        return result;
      }
      ++result.lines;
      return result;
    }
    if (result.lines > 0 && !output.Append(L"\n", 1)) return result;
    if (!output.Append(text + position, TrimEnd(text, position, end) - position)) return result;
    ++result.lines;
    position = next;
  }
  result.fits = position >= layout.length;
  return result;
}

}  // namespace artwheel
