// The overlay's words in English (UTF-8); see words.h for adding one.
#include "words/word_tables.h"

namespace artwheel {

constexpr WordEntry kEnglishWords[] = {
    {Word::kSkillAssigned, "Skill assigned to %s"},
    {Word::kNotSavedReadOnly, " (not saved: artwheel.ini is read-only)"},
    {Word::kNotSavedInUse, " (not saved: artwheel.ini is in use by another program)"},
    {Word::kNotSavedError, " (not saved: error %lu)"},
    {Word::kXboxDpadDown, "DPad Down"},
    {Word::kXboxDpadUp, "DPad Up"},
    {Word::kXboxDpadLeft, "DPad Left"},
    {Word::kXboxDpadRight, "DPad Right"},
    {Word::kXboxLB, "LB"},
    {Word::kXboxRB, "RB"},
    {Word::kXboxBack, "Back"},
    {Word::kXboxLS, "LS"},
    {Word::kXboxRS, "RS"},
    {Word::kXboxY, "Y"},
    {Word::kXboxA, "A"},
    {Word::kXboxB, "B"},
    {Word::kXboxX, "X"},
    {Word::kPsDpadDown, "D-pad Down"},
    {Word::kPsDpadUp, "D-pad Up"},
    {Word::kPsDpadLeft, "D-pad Left"},
    {Word::kPsDpadRight, "D-pad Right"},
    {Word::kPsL1, "L1"},
    {Word::kPsR1, "R1"},
    {Word::kPsShare, "Share"},
    {Word::kPsL3, "L3"},
    {Word::kPsR3, "R3"},
    {Word::kPsTriangle, "Triangle"},
    {Word::kPsCross, "Cross"},
    {Word::kPsCircle, "Circle"},
    {Word::kPsSquare, "Square"},
};
static_assert(IsCompleteTable(kEnglishWords), "every word, in the order of Word");

const WordEntry* EnglishTable() { return kEnglishWords; }

}  // namespace artwheel
