// The overlay's words in Simplified Chinese (UTF-8); see words.h for adding one.
#include "words/word_tables.h"

namespace artwheel {

constexpr WordEntry kSimplifiedChineseWords[] = {
    {Word::kSkillAssigned, "技能已分配至 %s"},
    {Word::kNotSavedReadOnly, "（未保存：artwheel.ini 为只读）"},
    {Word::kNotSavedInUse, "（未保存：artwheel.ini 正被其他程序使用）"},
    {Word::kNotSavedError, "（未保存：错误 %lu）"},
    {Word::kXboxDpadDown, "方向键下"},
    {Word::kXboxDpadUp, "方向键上"},
    {Word::kXboxDpadLeft, "方向键左"},
    {Word::kXboxDpadRight, "方向键右"},
    {Word::kXboxLB, "LB"},
    {Word::kXboxRB, "RB"},
    {Word::kXboxBack, "返回"},
    {Word::kXboxLS, "LS"},
    {Word::kXboxRS, "RS"},
    {Word::kXboxY, "Y"},
    {Word::kXboxA, "A"},
    {Word::kXboxB, "B"},
    {Word::kXboxX, "X"},
    {Word::kPsDpadDown, "方向键下"},
    {Word::kPsDpadUp, "方向键上"},
    {Word::kPsDpadLeft, "方向键左"},
    {Word::kPsDpadRight, "方向键右"},
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
static_assert(IsCompleteTable(kSimplifiedChineseWords), "every word, in the order of Word");

const WordEntry* SimplifiedChineseTable() { return kSimplifiedChineseWords; }

}  // namespace artwheel
