// The overlay's words in Polish (UTF-8); see words.h for adding one.
#include "words/word_tables.h"

namespace artwheel {

constexpr WordEntry kPolishWords[] = {
    {Word::kSkillAssigned, "Umiejętność przypisana: %s"},
    {Word::kNotSavedReadOnly, " (nie zapisano: artwheel.ini jest tylko do odczytu)"},
    {Word::kNotSavedInUse, " (nie zapisano: artwheel.ini jest używany przez inny program)"},
    {Word::kNotSavedError, " (nie zapisano: błąd %lu)"},
    {Word::kXboxDpadDown, "Pad kierunkowy w dół"},
    {Word::kXboxDpadUp, "Pad kierunkowy w górę"},
    {Word::kXboxDpadLeft, "Pad kierunkowy w lewo"},
    {Word::kXboxDpadRight, "Pad kierunkowy w prawo"},
    {Word::kXboxLB, "LB"},
    {Word::kXboxRB, "RB"},
    {Word::kXboxBack, "Wstecz"},
    {Word::kXboxLS, "LS"},
    {Word::kXboxRS, "RS"},
    {Word::kXboxY, "Y"},
    {Word::kXboxA, "A"},
    {Word::kXboxB, "B"},
    {Word::kXboxX, "X"},
    {Word::kPsDpadDown, "Przycisk w dół"},
    {Word::kPsDpadUp, "Przycisk w górę"},
    {Word::kPsDpadLeft, "Przycisk w lewo"},
    {Word::kPsDpadRight, "Przycisk w prawo"},
    {Word::kPsL1, "L1"},
    {Word::kPsR1, "R1"},
    {Word::kPsShare, "SHARE"},
    {Word::kPsL3, "L3"},
    {Word::kPsR3, "R3"},
    {Word::kPsTriangle, "Trójkąt"},
    {Word::kPsCross, "Krzyżyk"},
    {Word::kPsCircle, "Kółko"},
    {Word::kPsSquare, "Kwadrat"},
};
static_assert(IsCompleteTable(kPolishWords), "every word, in the order of Word");

const WordEntry* PolishTable() { return kPolishWords; }

}  // namespace artwheel
