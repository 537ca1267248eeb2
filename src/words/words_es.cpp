// The overlay's words in Spanish (UTF-8); see words.h for adding one.
#include "words/word_tables.h"

namespace artwheel {

constexpr WordEntry kSpanishWords[] = {
    {Word::kSkillAssigned, "Habilidad asignada a %s"},
    {Word::kNotSavedReadOnly, " (no guardado: artwheel.ini es de solo lectura)"},
    {Word::kNotSavedInUse, " (no guardado: otro programa está usando artwheel.ini)"},
    {Word::kNotSavedError, " (no guardado: error %lu)"},
    {Word::kXboxDpadDown, "Cruceta abajo"},
    {Word::kXboxDpadUp, "Cruceta arriba"},
    {Word::kXboxDpadLeft, "Cruceta izquierda"},
    {Word::kXboxDpadRight, "Cruceta derecha"},
    {Word::kXboxLB, "LB"},
    {Word::kXboxRB, "RB"},
    {Word::kXboxBack, "Atrás"},
    {Word::kXboxLS, "LS"},
    {Word::kXboxRS, "RS"},
    {Word::kXboxY, "Y"},
    {Word::kXboxA, "A"},
    {Word::kXboxB, "B"},
    {Word::kXboxX, "X"},
    {Word::kPsDpadDown, "Dirección abajo"},
    {Word::kPsDpadUp, "Dirección arriba"},
    {Word::kPsDpadLeft, "Dirección izquierda"},
    {Word::kPsDpadRight, "Dirección derecha"},
    {Word::kPsL1, "L1"},
    {Word::kPsR1, "R1"},
    {Word::kPsShare, "SHARE"},
    {Word::kPsL3, "L3"},
    {Word::kPsR3, "R3"},
    {Word::kPsTriangle, "Triángulo"},
    {Word::kPsCross, "Cruz"},
    {Word::kPsCircle, "Círculo"},
    {Word::kPsSquare, "Cuadrado"},
};
static_assert(IsCompleteTable(kSpanishWords), "every word, in the order of Word");

const WordEntry* SpanishTable() { return kSpanishWords; }

}  // namespace artwheel
