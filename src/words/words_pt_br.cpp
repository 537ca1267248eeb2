// The overlay's words in Brazilian Portuguese (UTF-8); see words.h for adding one.
#include "words/word_tables.h"

namespace artwheel {

constexpr WordEntry kBrazilianPortugueseWords[] = {
    {Word::kSkillAssigned, "Habilidade atribuída a %s"},
    {Word::kNotSavedReadOnly, " (não salvo: artwheel.ini é somente leitura)"},
    {Word::kNotSavedInUse, " (não salvo: artwheel.ini está em uso por outro programa)"},
    {Word::kNotSavedError, " (não salvo: erro %lu)"},
    {Word::kXboxDpadDown, "Direcional para baixo"},
    {Word::kXboxDpadUp, "Direcional para cima"},
    {Word::kXboxDpadLeft, "Direcional para a esquerda"},
    {Word::kXboxDpadRight, "Direcional para a direita"},
    {Word::kXboxLB, "LB"},
    {Word::kXboxRB, "RB"},
    {Word::kXboxBack, "Voltar"},
    {Word::kXboxLS, "LS"},
    {Word::kXboxRS, "RS"},
    {Word::kXboxY, "Y"},
    {Word::kXboxA, "A"},
    {Word::kXboxB, "B"},
    {Word::kXboxX, "X"},
    {Word::kPsDpadDown, "Direcional para baixo"},
    {Word::kPsDpadUp, "Direcional para cima"},
    {Word::kPsDpadLeft, "Direcional para a esquerda"},
    {Word::kPsDpadRight, "Direcional para a direita"},
    {Word::kPsL1, "L1"},
    {Word::kPsR1, "R1"},
    {Word::kPsShare, "SHARE"},
    {Word::kPsL3, "L3"},
    {Word::kPsR3, "R3"},
    {Word::kPsTriangle, "Triângulo"},
    {Word::kPsCross, "X"},
    {Word::kPsCircle, "Círculo"},
    {Word::kPsSquare, "Quadrado"},
};
static_assert(IsCompleteTable(kBrazilianPortugueseWords), "every word, in the order of Word");

const WordEntry* BrazilianPortugueseTable() { return kBrazilianPortugueseWords; }

}  // namespace artwheel
