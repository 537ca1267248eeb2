// The overlay's words in Korean (UTF-8); see words.h for adding one.
#include "words/word_tables.h"

namespace artwheel {

constexpr WordEntry kKoreanWords[] = {
    {Word::kSkillAssigned, "스킬을 %s에 할당했습니다"},
    {Word::kNotSavedReadOnly, " (저장 안 됨: artwheel.ini가 읽기 전용입니다)"},
    {Word::kNotSavedInUse, " (저장 안 됨: 다른 프로그램이 artwheel.ini를 사용 중입니다)"},
    {Word::kNotSavedError, " (저장 안 됨: 오류 %lu)"},
    {Word::kXboxDpadDown, "방향 패드 아래"},
    {Word::kXboxDpadUp, "방향 패드 위"},
    {Word::kXboxDpadLeft, "방향 패드 왼쪽"},
    {Word::kXboxDpadRight, "방향 패드 오른쪽"},
    {Word::kXboxLB, "LB"},
    {Word::kXboxRB, "RB"},
    {Word::kXboxBack, "뒤로"},
    {Word::kXboxLS, "LS"},
    {Word::kXboxRS, "RS"},
    {Word::kXboxY, "Y"},
    {Word::kXboxA, "A"},
    {Word::kXboxB, "B"},
    {Word::kXboxX, "X"},
    {Word::kPsDpadDown, "방향 버튼 아래"},
    {Word::kPsDpadUp, "방향 버튼 위"},
    {Word::kPsDpadLeft, "방향 버튼 왼쪽"},
    {Word::kPsDpadRight, "방향 버튼 오른쪽"},
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
static_assert(IsCompleteTable(kKoreanWords), "every word, in the order of Word");

const WordEntry* KoreanTable() { return kKoreanWords; }

}  // namespace artwheel
