// The overlay's words in German (UTF-8); see words.h for adding one.
#include "words/word_tables.h"

namespace artwheel {

constexpr WordEntry kGermanWords[] = {
    {Word::kSkillAssigned, "Fertigkeit auf %s gelegt"},
    {Word::kNotSavedReadOnly, " (nicht gespeichert: artwheel.ini ist schreibgeschützt)"},
    {Word::kNotSavedInUse,
     " (nicht gespeichert: artwheel.ini wird von einem anderen Programm verwendet)"},
    {Word::kNotSavedError, " (nicht gespeichert: Fehler %lu)"},
    {Word::kXboxDpadDown, "Steuerkreuz unten"},
    {Word::kXboxDpadUp, "Steuerkreuz oben"},
    {Word::kXboxDpadLeft, "Steuerkreuz links"},
    {Word::kXboxDpadRight, "Steuerkreuz rechts"},
    {Word::kXboxLB, "LB"},
    {Word::kXboxRB, "RB"},
    {Word::kXboxBack, "Zurück"},
    {Word::kXboxLS, "LS"},
    {Word::kXboxRS, "RS"},
    {Word::kXboxY, "Y"},
    {Word::kXboxA, "A"},
    {Word::kXboxB, "B"},
    {Word::kXboxX, "X"},
    {Word::kPsDpadDown, "Richtungstaste unten"},
    {Word::kPsDpadUp, "Richtungstaste oben"},
    {Word::kPsDpadLeft, "Richtungstaste links"},
    {Word::kPsDpadRight, "Richtungstaste rechts"},
    {Word::kPsL1, "L1"},
    {Word::kPsR1, "R1"},
    {Word::kPsShare, "SHARE"},
    {Word::kPsL3, "L3"},
    {Word::kPsR3, "R3"},
    {Word::kPsTriangle, "Dreieck"},
    {Word::kPsCross, "Kreuz"},
    {Word::kPsCircle, "Kreis"},
    {Word::kPsSquare, "Quadrat"},
};
static_assert(IsCompleteTable(kGermanWords), "every word, in the order of Word");

const WordEntry* GermanTable() { return kGermanWords; }

}  // namespace artwheel
