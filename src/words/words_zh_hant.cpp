// The overlay's words in Traditional Chinese (UTF-8); see words.h for adding one.
#include "words/word_tables.h"

namespace artwheel {

constexpr WordEntry kTraditionalChineseWords[] = {
    {Word::kSkillAssigned, "技能已指派至 %s"},
    {Word::kNotSavedReadOnly, "（未儲存：artwheel.ini 為唯讀）"},
    {Word::kNotSavedInUse, "（未儲存：artwheel.ini 正由其他程式使用）"},
    {Word::kNotSavedError, "（未儲存：錯誤 %lu）"},
    {Word::kXboxDpadDown, "方向鍵下"},
    {Word::kXboxDpadUp, "方向鍵上"},
    {Word::kXboxDpadLeft, "方向鍵左"},
    {Word::kXboxDpadRight, "方向鍵右"},
    {Word::kXboxLB, "LB"},
    {Word::kXboxRB, "RB"},
    {Word::kXboxBack, "返回"},
    {Word::kXboxLS, "LS"},
    {Word::kXboxRS, "RS"},
    {Word::kXboxY, "Y"},
    {Word::kXboxA, "A"},
    {Word::kXboxB, "B"},
    {Word::kXboxX, "X"},
    {Word::kPsDpadDown, "方向鍵下"},
    {Word::kPsDpadUp, "方向鍵上"},
    {Word::kPsDpadLeft, "方向鍵左"},
    {Word::kPsDpadRight, "方向鍵右"},
    {Word::kPsL1, "L1"},
    {Word::kPsR1, "R1"},
    {Word::kPsShare, "SHARE"},
    {Word::kPsL3, "L3"},
    {Word::kPsR3, "R3"},
    {Word::kPsTriangle, "△"},
    {Word::kPsCross, "×"},
    {Word::kPsCircle, "○"},
    {Word::kPsSquare, "□"},
};
static_assert(IsCompleteTable(kTraditionalChineseWords), "every word, in the order of Word");

const WordEntry* TraditionalChineseTable() { return kTraditionalChineseWords; }

}  // namespace artwheel
