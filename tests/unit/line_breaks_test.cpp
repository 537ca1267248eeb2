#include "overlay/line_breaks.h"

#include <gtest/gtest.h>

#include <string>

namespace artwheel {
namespace {

// Ten pixels a character.
int TenEach(void*, const wchar_t*, int length) { return 10 * length; }

std::wstring Lines(const wchar_t* text, int maxLines, int maxWidth, bool cut, LineLayout* layout) {
  wchar_t out[160];
  *layout = LayOutLines(text, maxLines, maxWidth, cut, &TenEach, nullptr, out, std::size(out));
  return out;
}

TEST(LineBreaks, BreakAtSpacesOrBetweenCharactersOfScriptsWithoutSpaces) {
  LineLayout layout;
  EXPECT_EQ(Lines(L"Skill assigned to LB + Y", 2, 120, false, &layout), L"Skill\nassigned to");
  EXPECT_FALSE(layout.fits);
  EXPECT_EQ(Lines(L"Skill assigned to LB + Y", 2, 180, false, &layout),
            L"Skill assigned to\nLB + Y");
  EXPECT_TRUE(layout.fits);
  EXPECT_EQ(layout.lines, 2);
  // Never before a closing or after an opening mark.
  EXPECT_EQ(Lines(L"技能已分配至方向键下（未保存：错误）", 2, 100, false, &layout),
            L"技能已分配至方向键下\n（未保存：错误）");
  EXPECT_EQ(Lines(L"技能已分配至方向键（未保存）", 2, 100, false, &layout),
            L"技能已分配至方向键\n（未保存）");
  EXPECT_TRUE(layout.fits);
  EXPECT_EQ(Lines(L"ab（未保存）", 2, 30, false, &layout), L"ab\n（未保");
  EXPECT_FALSE(layout.fits);  // the second line is wider than 30
}

TEST(LineBreaks, WhatDoesNotFitIsCutAfterAWholeCharacterWithAnEllipsis) {
  LineLayout layout;
  EXPECT_EQ(Lines(L"Fertigkeit auf Richtungstaste gelegt", 2, 100, true, &layout),
            L"Fertigkeit\nauf Ric...");
  EXPECT_FALSE(layout.fits);
  EXPECT_EQ(Lines(L"Unbreakablewordhere", 1, 100, true, &layout), L"Unbreak...");
  EXPECT_EQ(Lines(L"Unbreakablewordhere", 2, 100, true, &layout), L"Unbreakabl\newordhere");
  EXPECT_EQ(Lines(L"Unbreakablewordhere", 2, 100, false, &layout), L"");
  EXPECT_FALSE(layout.fits);
  // A pair of surrogates stays whole.
  const wchar_t pairs[] = {L'a', 0xD840, 0xDC0B, 0xD840, 0xDC0B, L'b', L'c', 0};
  EXPECT_EQ(Lines(pairs, 1, 60, true, &layout),
            std::wstring(L"a") + wchar_t(0xD840) + wchar_t(0xDC0B) + L"...");
}

}  // namespace
}  // namespace artwheel
