#pragma once
// A text laid out on a few lines of a given width, for texts drawn into a
// picture of fixed size. Lines break at spaces and, in scripts written without
// them (Chinese, Japanese), between two characters, never before closing or
// after opening punctuation. Platform-free: the widths come from the caller.
#include <cstddef>

namespace artwheel {

// Width in pixels of text[0, length) in the caller's font.
using MeasureText = int (*)(void* context, const wchar_t* text, int length);

struct LineLayout {
  int lines = 0;
  bool fits = false;  // the whole text, on at most the lines allowed
};

// The lines of `text`, joined by L'\n', into `out`. With `cutToFit` a text that
// does not fit is cut after the last character that does, with "..." at the
// end of the last line, and a word wider than a line is broken between two
// characters; without it the result says the text does not fit.
LineLayout LayOutLines(const wchar_t* text, int maxLines, int maxWidth, bool cutToFit,
                       MeasureText measure, void* context, wchar_t* out, size_t outSize);

}  // namespace artwheel
