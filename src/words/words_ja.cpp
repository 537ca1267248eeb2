// The overlay's words in Japanese (UTF-8); see words.h for adding one.
#include "words/word_tables.h"

namespace artwheel {

constexpr WordEntry kJapaneseWords[] = {
    {Word::kSkillAssigned, "スキルを「%s」に割り当てました"},
    {Word::kNotSavedReadOnly, "（未保存：artwheel.ini は読み取り専用です）"},
    {Word::kNotSavedInUse, "（未保存：artwheel.ini は他のプログラムが使用中です）"},
    {Word::kNotSavedError, "（未保存：エラー %lu）"},
    {Word::kXboxDpadDown, "方向パッド下"},
    {Word::kXboxDpadUp, "方向パッド上"},
    {Word::kXboxDpadLeft, "方向パッド左"},
    {Word::kXboxDpadRight, "方向パッド右"},
    {Word::kXboxLB, "LB"},
    {Word::kXboxRB, "RB"},
    {Word::kXboxBack, "BACK"},
    {Word::kXboxLS, "LS"},
    {Word::kXboxRS, "RS"},
    {Word::kXboxY, "Y"},
    {Word::kXboxA, "A"},
    {Word::kXboxB, "B"},
    {Word::kXboxX, "X"},
    {Word::kPsDpadDown, "方向キー下"},
    {Word::kPsDpadUp, "方向キー上"},
    {Word::kPsDpadLeft, "方向キー左"},
    {Word::kPsDpadRight, "方向キー右"},
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
static_assert(IsCompleteTable(kJapaneseWords), "every word, in the order of Word");

const WordEntry* JapaneseTable() { return kJapaneseWords; }

}  // namespace artwheel
