#include "core/ini_text.h"

#include <gtest/gtest.h>

namespace artwheel {
namespace {

TEST(TrimIni, RemovesOnlyTheFourWhitespaceCharactersAtBothEnds) {
  EXPECT_EQ(TrimIni(" \t\r\nvalue x\r\n\t "), "value x");
  EXPECT_EQ(TrimIni(" \t\r\n"), "");
  EXPECT_EQ(TrimIni(""), "");
  EXPECT_EQ(TrimIni("\vvalue\f"), "\vvalue\f");  // vertical tab and form feed are kept
}

TEST(StripInlineComment, CutsAtTheFirstCommentOutsideQuotesAndTrims) {
  EXPECT_EQ(StripInlineComment(" ON ; comment"), "ON");
  EXPECT_EQ(StripInlineComment("yes # comment ; more"), "yes");
  EXPECT_EQ(StripInlineComment("\"C:\\My Mods\\a#b;c.dll\" # real comment"),
            "\"C:\\My Mods\\a#b;c.dll\"");
  EXPECT_EQ(StripInlineComment("#all comment"), "");
  EXPECT_EQ(StripInlineComment("a\"b#c"), "a\"b#c");  // an unclosed quote hides the rest
  EXPECT_EQ(StripInlineComment("\"x\"\"y\";z"), "\"x\"\"y\"");
}

TEST(ParseBool, AcceptsFourWordsInAnyCaseAndNothingElse) {
  for (const char* yes : {"true", "1", "yes", "on", "TRUE", "On", "yEs"}) {
    EXPECT_TRUE(ParseBool(yes)) << yes;
  }
  for (const char* no : {"", "false", "0", "no", "off", "enabled", "2", " on", "on ", "y"}) {
    EXPECT_FALSE(ParseBool(no)) << no;
  }
}

TEST(EqualsIgnoreCaseAscii, FoldsAsciiLettersOnly) {
  EXPECT_TRUE(EqualsIgnoreCaseAscii("SeKiRo.ExE", "sekiro.exe"));
  EXPECT_FALSE(EqualsIgnoreCaseAscii("sekiro.exe", "sekiro.ex"));
  EXPECT_FALSE(EqualsIgnoreCaseAscii("\xC4", "\xE4"));  // no code-page folding
  EXPECT_FALSE(
      EqualsIgnoreCaseAscii("[", "{"));  // 0x5B and 0x7B differ by 0x20 but are not letters
}

}  // namespace
}  // namespace artwheel
