#include "base/ini_text.h"

#include <gtest/gtest.h>

#include <string>

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

// The length limit applies to the value once its comment is gone.
TEST(CleanProfileValue, LimitsTheValueAfterItsCommentIsRemoved) {
  std::string_view value;
  const std::string comment = " ; " + std::string(1500, 'c');
  const std::string shortPath = "mods\\a.dll" + comment;
  EXPECT_EQ(CleanProfileValue(shortPath, false, 1022, value), ProfileValue::kFound);
  EXPECT_EQ(value, "mods\\a.dll");
  // Cut by the buffer inside the comment: the value is whole.
  const std::string cutInComment = "a.dll" + comment;
  EXPECT_EQ(CleanProfileValue(cutInComment, true, 1022, value), ProfileValue::kFound);
  EXPECT_EQ(value, "a.dll");
  const std::string longest = std::string(1022, 'p') + " # c";
  EXPECT_EQ(CleanProfileValue(longest, false, 1022, value), ProfileValue::kFound);
  const std::string tooLong = std::string(1023, 'p') + " # c";
  EXPECT_EQ(CleanProfileValue(tooLong, false, 1022, value), ProfileValue::kTooLong);
  EXPECT_EQ(value, "");
  // Cut before any comment: more of the value may be missing.
  const std::string cutInValue(900, 'p');
  EXPECT_EQ(CleanProfileValue(cutInValue, true, 1022, value), ProfileValue::kTooLong);
  EXPECT_EQ(CleanProfileValue("  ; only a comment", false, 1022, value), ProfileValue::kEmpty);
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

TEST(ShouldMakeFromStarter, OnlyAKnownMissingFileIsMadeAndOnlyFromAStarterThatIsThere) {
  const FilePresence states[] = {FilePresence::kPresent, FilePresence::kMissing,
                                 FilePresence::kUnknown};
  for (const FilePresence config : states) {
    for (const FilePresence starter : states) {
      EXPECT_EQ(ShouldMakeFromStarter(config, starter),
                config == FilePresence::kMissing && starter == FilePresence::kPresent)
          << static_cast<int>(config) << " " << static_cast<int>(starter);
    }
  }
}

}  // namespace
}  // namespace artwheel
