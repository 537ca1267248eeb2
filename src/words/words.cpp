#include "words/words.h"

#include <cstdarg>

#include "base/text_format.h"
#include "words/word_tables.h"

namespace artwheel {
namespace {

const WordEntry* TableOf(Language language) {
  switch (language) {
    case Language::kZhHans:
      return SimplifiedChineseTable();
    case Language::kZhHant:
      return TraditionalChineseTable();
    case Language::kJa:
      return JapaneseTable();
    case Language::kKo:
      return KoreanTable();
    case Language::kRu:
      return RussianTable();
    case Language::kEs:
      return SpanishTable();
    case Language::kPtBr:
      return BrazilianPortugueseTable();
    case Language::kFr:
      return FrenchTable();
    case Language::kDe:
      return GermanTable();
    case Language::kIt:
      return ItalianTable();
    case Language::kPl:
      return PolishTable();
    default:
      return EnglishTable();
  }
}

// Primary language ids (the low 10 bits of a LANGID).
constexpr uint16_t kLangChinese = 0x04;
constexpr uint16_t kLangGerman = 0x07;
constexpr uint16_t kLangSpanish = 0x0A;
constexpr uint16_t kLangFrench = 0x0C;
constexpr uint16_t kLangItalian = 0x10;
constexpr uint16_t kLangJapanese = 0x11;
constexpr uint16_t kLangKorean = 0x12;
constexpr uint16_t kLangPolish = 0x15;
constexpr uint16_t kLangPortuguese = 0x16;
constexpr uint16_t kLangRussian = 0x19;

// Chinese regions and scripts (the LANGID's upper 6 bits) that write
// Traditional characters: Taiwan, Hong Kong, Macao, and zh-Hant itself.
constexpr bool WritesTraditional(uint16_t sublanguage) {
  return sublanguage == 0x01 || sublanguage == 0x03 || sublanguage == 0x05 || sublanguage == 0x1F;
}

}  // namespace

const char* WordText(Language language, Word word) {
  const auto index = static_cast<size_t>(word);
  if (index >= kWordCount) return "";
  return TableOf(language)[index].text;
}

// Every table's text takes the English placeholders, in order (unit.Words).
int FormatWord(char* buffer, size_t size, Language language, Word word, ...) {
  va_list args{};
  va_start(args, word);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  const int length = FormatTextV(buffer, size, WordText(language, word), args);
#pragma GCC diagnostic pop
  va_end(args);
  return length;
}

Language LanguageOfLangId(uint16_t langId) {
  const uint16_t primary = langId & 0x3FF;
  switch (primary) {
    case kLangChinese:
      return WritesTraditional(static_cast<uint16_t>(langId >> 10)) ? Language::kZhHant
                                                                    : Language::kZhHans;
    case kLangJapanese:
      return Language::kJa;
    case kLangKorean:
      return Language::kKo;
    case kLangRussian:
      return Language::kRu;
    case kLangSpanish:
      return Language::kEs;
    case kLangPortuguese:
      return Language::kPtBr;
    case kLangFrench:
      return Language::kFr;
    case kLangGerman:
      return Language::kDe;
    case kLangItalian:
      return Language::kIt;
    case kLangPolish:
      return Language::kPl;
    default:
      return Language::kEn;
  }
}

Language ResolveLanguage(Language chosen, uint16_t uiLangId) {
  return chosen == Language::kAuto ? LanguageOfLangId(uiLangId) : chosen;
}

}  // namespace artwheel
