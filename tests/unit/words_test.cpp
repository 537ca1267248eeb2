#include "words/words.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "base/utf8_text.h"

namespace artwheel {
namespace {

constexpr Language kLanguages[] = {Language::kEn, Language::kZhHans, Language::kZhHant,
                                   Language::kJa, Language::kKo,     Language::kRu,
                                   Language::kEs, Language::kPtBr,   Language::kFr,
                                   Language::kDe, Language::kIt,     Language::kPl};

// The printf conversions of a text in order ("%s;%lu;"), "%%" left out:
// flags, width, precision, length, conversion letter.
std::string Placeholders(const std::string& text) {
  std::string found;
  for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at)) {
    size_t end = text.find_first_not_of("-+ #0", at + 1);
    end = std::min(text.find_first_not_of("0123456789", end), text.size());
    if (text[end] == '.')
      end = std::min(text.find_first_not_of("0123456789", end + 1), text.size());
    end = std::min(text.find_first_not_of("hlz", end), text.size());
    if (end < text.size() && std::string_view("diuxXscpfg%").find(text[end]) != std::string::npos) {
      const std::string conversion = text.substr(at, end + 1 - at);
      if (conversion != "%%") found += conversion + ";";
    }
    at = end + 1;
  }
  return found;
}

TEST(Words, EveryLanguageHasEveryWordWithTheEnglishPlaceholders) {
  EXPECT_EQ(Placeholders("a %s b %lu c %% d %-5.2f %"), "%s;%lu;%-5.2f;");
  for (const Language language : kLanguages) {
    for (size_t i = 0; i < kWordCount; ++i) {
      const auto word = static_cast<Word>(i);
      const std::string text = WordText(language, word);
      SCOPED_TRACE(std::string(kLanguageCodes[static_cast<int>(language)]) + " word " +
                   std::to_string(i) + ": " + text);
      EXPECT_FALSE(text.empty());
      EXPECT_TRUE(IsWellFormedUtf8(text));
      EXPECT_EQ(Placeholders(text), Placeholders(WordText(Language::kEn, word)));
    }
  }
  EXPECT_STREQ(WordText(Language::kAuto, Word::kSkillAssigned), "Skill assigned to %s");
  EXPECT_STREQ(WordText(Language::kEn, Word::kCount), "");
}

TEST(Words, AutoTakesTheLanguageOfTheWindowsLanguageId) {
  struct Case {
    uint16_t langId;
    Language language;
  };
  const Case cases[] = {
      {0x0409, Language::kEn},     {0x0809, Language::kEn},     {0x0804, Language::kZhHans},
      {0x1004, Language::kZhHans}, {0x0004, Language::kZhHans}, {0x0404, Language::kZhHant},
      {0x0C04, Language::kZhHant}, {0x1404, Language::kZhHant}, {0x7C04, Language::kZhHant},
      {0x0411, Language::kJa},     {0x0412, Language::kKo},     {0x0419, Language::kRu},
      {0x0819, Language::kRu},     {0x0C0A, Language::kEs},     {0x080A, Language::kEs},
      {0x0416, Language::kPtBr},   {0x0816, Language::kPtBr},   {0x040C, Language::kFr},
      {0x0C0C, Language::kFr},     {0x0407, Language::kDe},     {0x0807, Language::kDe},
      {0x0410, Language::kIt},     {0x0415, Language::kPl},     {0x041F, Language::kEn},
      {0x0422, Language::kEn},     {0x0000, Language::kEn},     {0x0413, Language::kEn},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LanguageOfLangId(c.langId), c.language) << std::hex << c.langId;
  }
  EXPECT_EQ(ResolveLanguage(Language::kAuto, 0x0C04), Language::kZhHant);
  EXPECT_EQ(ResolveLanguage(Language::kDe, 0x0C04), Language::kDe);
}

}  // namespace
}  // namespace artwheel
