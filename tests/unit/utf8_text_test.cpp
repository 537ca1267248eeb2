#include "base/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace artwheel {
namespace {

// Fed whole and a byte at a time, as a file arrives in pieces.
bool Checked(const std::string& text) {
  Utf8Check bytewise;
  for (char c : text) bytewise.Feed(&c, 1);
  const bool whole = IsWellFormedUtf8(text);
  EXPECT_EQ(bytewise.Finish(), whole) << text;
  return whole;
}

TEST(Utf8Check, TakesWellFormedTextAndRefusesEverythingElse) {
  EXPECT_TRUE(Checked(""));
  EXPECT_TRUE(Checked("C:\\Games\\Sekiro\\mod.dll"));
  EXPECT_TRUE(Checked("\xEF\xBB\xBF[Chainload]"));            // the mark is a character too
  EXPECT_TRUE(Checked("caf\xC3\xA9 \xD0\x98 \xE9\x9A\xBB"));  // é И 隻
  EXPECT_TRUE(Checked("\xF0\x9F\x8E\xAE \xF4\x8F\xBF\xBF"));  // 🎮 and U+10FFFF
  EXPECT_TRUE(Checked("\xED\x9F\xBF\xEE\x80\x80"));           // around the surrogates

  EXPECT_FALSE(Checked("caf\xE9"));                         // é in code page 1252
  EXPECT_FALSE(Checked("caf\xE9 au lait"));                 // ... followed by text
  EXPECT_FALSE(Checked("\xC3"));                            // cut at the end
  EXPECT_FALSE(Checked("\xE9\x9A"));                        // cut at the end
  EXPECT_FALSE(Checked("\xC0\xAF"));                        // overlong '/'
  EXPECT_FALSE(Checked("\xE0\x80\xAF"));                    // overlong '/'
  EXPECT_FALSE(Checked("\xF0\x80\x80\xAF"));                // overlong '/'
  EXPECT_FALSE(Checked("\xED\xA0\x80"));                    // a surrogate
  EXPECT_FALSE(Checked("\xF4\x90\x80\x80"));                // past U+10FFFF
  EXPECT_FALSE(Checked("\xF5\x80\x80\x80"));                // no such lead byte
  EXPECT_FALSE(Checked("\x80"));                            // a continuation byte alone
  EXPECT_FALSE(Checked("\xC3\xA9\xA9"));                    // one continuation byte too many
  EXPECT_FALSE(Checked(std::string("\xFF\xFE[\0C\0", 6)));  // UTF-16
}

TEST(Utf8Text, CountsTheCodeUnitsTheSystemSees) {
  EXPECT_EQ(Utf16Length(""), 0u);
  EXPECT_EQ(Utf16Length("C:\\x"), 4u);
  EXPECT_EQ(Utf16Length("\xE9\x9A\xBB\xE7\x8B\xBC"), 2u);  // two CJK characters, six bytes
  EXPECT_EQ(Utf16Length("\xD0\x98\xD0\xB3"), 2u);          // two Cyrillic, four bytes
  EXPECT_EQ(Utf16Length("\xF0\x9F\x8E\xAE"), 2u);          // beyond U+FFFF: a pair

  std::string path = "C:\\";
  while (Utf16Length(path) < kPathUnits - 1) path += "\xE9\x9A\xBB";
  EXPECT_TRUE(FitsSystemPath(path));  // 259 units, 771 bytes
  EXPECT_LT(path.size(), kUtf8PathSize);
  EXPECT_FALSE(FitsSystemPath(path + "x"));
}

}  // namespace
}  // namespace artwheel
