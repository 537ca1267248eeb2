#pragma once
// The GDI faces the overlay's texts are drawn with. Each language first asks
// for the face Windows ships for it; a face is taken only when its font has
// every glyph of the text, so that no box or question mark is ever drawn.
#include <windows.h>

#include "words/language.h"

namespace artwheel {

// The message's font (weight 600, ClearType, a sans-serif family) of that face
// and height in pixels.
HFONT CreateTextFont(const wchar_t* face, int height);

// That font selected into a context for as long as it lives, then put back and deleted.
class SelectedTextFont {
 public:
  SelectedTextFont(HDC dc, const wchar_t* face, int height)
      : dc_(dc), font_(CreateTextFont(face, height)) {
    if (font_ != nullptr) previous_ = SelectObject(dc_, font_);
  }
  ~SelectedTextFont() {
    if (previous_ != nullptr) SelectObject(dc_, previous_);
    if (font_ != nullptr) DeleteObject(font_);
  }
  SelectedTextFont(const SelectedTextFont&) = delete;
  SelectedTextFont& operator=(const SelectedTextFont&) = delete;
  bool selected() const { return previous_ != nullptr; }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ previous_ = nullptr;
};

// The first face for the language whose font has every glyph of `text`
// (GetGlyphIndicesW): the language's own Windows faces, then a few that Wine,
// Proton and the tests' environment have. The font a face gives is logged
// once per language and face. Null when no face has them all.
const wchar_t* ChooseTextFace(HDC dc, Language language, const wchar_t* text);

// The face an English text falls back to when no face has its glyphs either.
inline constexpr const wchar_t* kDefaultTextFace = L"Segoe UI";

struct FaceChoice {
  const wchar_t* text;
  const wchar_t* face;
  bool english;  // no face had every glyph of the text in the language
};

// What to draw, and in which face: the text, in the first face of its language
// that has all its glyphs; else its English, said once per language in the
// log, in the first English face that has them, or else in kDefaultTextFace.
FaceChoice ChooseTextOrEnglish(HDC dc, Language language, const wchar_t* text,
                               const wchar_t* english);

}  // namespace artwheel
