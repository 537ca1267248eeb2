#pragma once
// A text drawn into a picture of fixed size with GDI, as large as it fits and
// never past the picture's edges.
#include <windows.h>

namespace artwheel {

struct TextFit {
  int width;
  int height;
  int singleLineHeight;  // the font's height on one line
  int wrappedHeight;     // the largest height on more lines
  int smallestHeight;    // the floor; below it the text is cut with "..."
  int maxLines;
};

// Centred into (0, 0, width, height) of `dc` in `face`: one line when it fits
// at the single-line height; else on up to maxLines lines, at the wrapped
// height as the system breaks them, then at smaller heights down to the floor
// with breaks between the characters of scripts without spaces; at the floor
// what does not fit is cut after a whole character with "...".
struct FittedText {
  int fontHeight = 0;
  int lines = 0;
  bool cut = false;  // at the floor, with "..."
};

FittedText DrawFittedText(HDC dc, const wchar_t* text, const wchar_t* face, const TextFit& fit);

}  // namespace artwheel
