// The overlay's words in Italian (UTF-8); see words.h for adding one.
#include "words/word_tables.h"

namespace artwheel {

constexpr WordEntry kItalianWords[] = {
    {Word::kSkillAssigned, "Abilità assegnata a %s"},
    {Word::kNotSavedReadOnly, " (non salvata: artwheel.ini è di sola lettura)"},
    {Word::kNotSavedInUse, " (non salvata: artwheel.ini è in uso da un altro programma)"},
    {Word::kNotSavedError, " (non salvata: errore %lu)"},
    {Word::kXboxDpadDown, "Croce direzionale giù"},
    {Word::kXboxDpadUp, "Croce direzionale su"},
    {Word::kXboxDpadLeft, "Croce direzionale sinistra"},
    {Word::kXboxDpadRight, "Croce direzionale destra"},
    {Word::kXboxLB, "LB"},
    {Word::kXboxRB, "RB"},
    {Word::kXboxBack, "Indietro"},
    {Word::kXboxLS, "LS"},
    {Word::kXboxRS, "RS"},
    {Word::kXboxY, "Y"},
    {Word::kXboxA, "A"},
    {Word::kXboxB, "B"},
    {Word::kXboxX, "X"},
    {Word::kPsDpadDown, "Tasto direzionale giù"},
    {Word::kPsDpadUp, "Tasto direzionale su"},
    {Word::kPsDpadLeft, "Tasto direzionale sinistra"},
    {Word::kPsDpadRight, "Tasto direzionale destra"},
    {Word::kPsL1, "L1"},
    {Word::kPsR1, "R1"},
    {Word::kPsShare, "SHARE"},
    {Word::kPsL3, "L3"},
    {Word::kPsR3, "R3"},
    {Word::kPsTriangle, "Triangolo"},
    {Word::kPsCross, "Croce"},
    {Word::kPsCircle, "Cerchio"},
    {Word::kPsSquare, "Quadrato"},
};
static_assert(IsCompleteTable(kItalianWords), "every word, in the order of Word");

const WordEntry* ItalianTable() { return kItalianWords; }

}  // namespace artwheel
