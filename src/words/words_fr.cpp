// The overlay's words in French (UTF-8); see words.h for adding one.
#include "words/word_tables.h"

namespace artwheel {

constexpr WordEntry kFrenchWords[] = {
    {Word::kSkillAssigned, "Compétence attribuée à %s"},
    {Word::kNotSavedReadOnly, " (non enregistrée\u00A0: artwheel.ini est en lecture seule)"},
    {Word::kNotSavedInUse, " (non enregistrée\u00A0: artwheel.ini est utilisé par un autre programme)"},
    {Word::kNotSavedError, " (non enregistrée\u00A0: erreur %lu)"},
    {Word::kXboxDpadDown, "BMD bas"},
    {Word::kXboxDpadUp, "BMD haut"},
    {Word::kXboxDpadLeft, "BMD gauche"},
    {Word::kXboxDpadRight, "BMD droite"},
    {Word::kXboxLB, "LB"},
    {Word::kXboxRB, "RB"},
    {Word::kXboxBack, "Retour"},
    {Word::kXboxLS, "LS"},
    {Word::kXboxRS, "RS"},
    {Word::kXboxY, "Y"},
    {Word::kXboxA, "A"},
    {Word::kXboxB, "B"},
    {Word::kXboxX, "X"},
    {Word::kPsDpadDown, "Touche bas"},
    {Word::kPsDpadUp, "Touche haut"},
    {Word::kPsDpadLeft, "Touche gauche"},
    {Word::kPsDpadRight, "Touche droite"},
    {Word::kPsL1, "L1"},
    {Word::kPsR1, "R1"},
    {Word::kPsShare, "SHARE"},
    {Word::kPsL3, "L3"},
    {Word::kPsR3, "R3"},
    {Word::kPsTriangle, "Triangle"},
    {Word::kPsCross, "Croix"},
    {Word::kPsCircle, "Rond"},
    {Word::kPsSquare, "Carré"},
};
static_assert(IsCompleteTable(kFrenchWords), "every word, in the order of Word");

const WordEntry* FrenchTable() { return kFrenchWords; }

}  // namespace artwheel
