#include "overlay/text_faces.h"

#include <cstdint>
#include <cwchar>
#include <iterator>

#include "base/log.h"
#include "overlay/overlay_state.h"

namespace artwheel {
namespace {

constexpr int kCheckHeight = 30;
constexpr int kFaceNameSize = LF_FACESIZE;

struct FaceList {
  const wchar_t* const* faces;
  size_t count;
};

constexpr const wchar_t* kWesternFaces[] = {L"Segoe UI"};
constexpr const wchar_t* kSimplifiedChineseFaces[] = {L"Microsoft YaHei UI", L"Microsoft YaHei"};
constexpr const wchar_t* kTraditionalChineseFaces[] = {L"Microsoft JhengHei UI",
                                                       L"Microsoft JhengHei"};
constexpr const wchar_t* kJapaneseFaces[] = {L"Yu Gothic UI", L"Meiryo UI", L"MS UI Gothic"};
constexpr const wchar_t* kKoreanFaces[] = {L"Malgun Gothic"};
// Tried after the language's own: Windows' UI face, what Wine (Tahoma) and
// Proton (Arial, Microsoft YaHei) ship, and the CJK font that the project's
// setup installs for its tests (Latin, CJK and Hangul in one face).
constexpr const wchar_t* kFallbackFaces[] = {L"Segoe UI", L"Tahoma", L"Arial", L"Microsoft YaHei",
                                             L"WenQuanYi Micro Hei"};

template <size_t N>
constexpr FaceList List(const wchar_t* const (&faces)[N]) {
  return {faces, N};
}

FaceList OwnFaces(Language language) {
  switch (language) {
    case Language::kZhHans:
      return List(kSimplifiedChineseFaces);
    case Language::kZhHant:
      return List(kTraditionalChineseFaces);
    case Language::kJa:
      return List(kJapaneseFaces);
    case Language::kKo:
      return List(kKoreanFaces);
    default:
      return List(kWesternFaces);
  }
}

// Asked a piece at a time, so that a text of any length (the menu's picture
// holds all its rows) is checked whole.
bool HasEveryGlyph(HDC dc, const wchar_t* text) {
  WORD glyphs[kMessageCapacity] = {};
  for (size_t left = std::wcslen(text); left > 0;) {
    const size_t piece = left < kMessageCapacity ? left : kMessageCapacity;
    if (GetGlyphIndicesW(dc, text, static_cast<int>(piece), glyphs, GGI_MARK_NONEXISTING_GLYPHS) ==
        GDI_ERROR) {
      return false;
    }
    for (size_t i = 0; i < piece; ++i) {
      if (glyphs[i] == 0xFFFF) return false;
    }
    text += piece;
    left -= piece;
  }
  return true;
}

// The face each language was last drawn with (render thread only).
const wchar_t* loggedFaces[kLanguageValueCount] = {};

void NoteFace(HDC dc, Language language, const wchar_t* face) {
  const auto index = static_cast<size_t>(language);
  if (index >= std::size(loggedFaces) || loggedFaces[index] == face) return;
  loggedFaces[index] = face;
  wchar_t realized[kFaceNameSize] = {};
  char name[kFaceNameSize * 3] = {};
  GetTextFaceW(dc, kFaceNameSize, realized);
  WideCharToMultiByte(CP_UTF8, 0, realized, -1, name, sizeof name, nullptr, nullptr);
  WriteLogFormat("[Overlay] Texts in %s are drawn with the font %s", kLanguageCodes[index], name);
}

bool TryFace(HDC dc, Language language, const wchar_t* face, const wchar_t* text) {
  const SelectedTextFont font(dc, face, kCheckHeight);
  if (!font.selected() || !HasEveryGlyph(dc, text)) return false;
  NoteFace(dc, language, face);
  return true;
}

// Languages whose texts no face could draw, said once each (render thread only).
uint32_t englishInsteadLogged = 0;

void NoteEnglishInstead(Language language) {
  const uint32_t bit = 1u << static_cast<unsigned>(language);
  if ((englishInsteadLogged & bit) != 0) return;
  englishInsteadLogged |= bit;
  WriteLogFormat(
      "[Overlay] No installed font has every glyph of the %s texts; they are drawn "
      "in English",
      kLanguageCodes[static_cast<int>(language)]);
}

}  // namespace

HFONT CreateTextFont(const wchar_t* face, int height) {
  return CreateFontW(height, 0, 0, 0, 600, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                     CLEARTYPE_QUALITY, FF_SWISS, face);
}

const wchar_t* ChooseTextFace(HDC dc, Language language, const wchar_t* text) {
  // The language's last face first: the next text of a language mostly has its glyphs too.
  const auto index = static_cast<size_t>(language);
  const wchar_t* last = index < std::size(loggedFaces) ? loggedFaces[index] : nullptr;
  if (last != nullptr && TryFace(dc, language, last, text)) return last;
  const FaceList own = OwnFaces(language);
  for (size_t i = 0; i < own.count; ++i) {
    if (TryFace(dc, language, own.faces[i], text)) return own.faces[i];
  }
  for (const wchar_t* face : kFallbackFaces) {
    if (own.count > 0 && std::wcscmp(face, own.faces[0]) == 0) continue;  // tried already
    if (TryFace(dc, language, face, text)) return face;
  }
  return nullptr;
}

FaceChoice ChooseTextOrEnglish(HDC dc, Language language, const wchar_t* text,
                               const wchar_t* english) {
  FaceChoice choice = {text, ChooseTextFace(dc, language, text), false};
  if (choice.face == nullptr && language != Language::kEn) {
    NoteEnglishInstead(language);
    choice = {english, ChooseTextFace(dc, Language::kEn, english), true};
  }
  if (choice.face == nullptr) choice.face = kDefaultTextFace;
  return choice;
}

}  // namespace artwheel
