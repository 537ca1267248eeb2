// The overlay's words in Russian (UTF-8); see words.h for adding one.
#include "words/word_tables.h"

namespace artwheel {

constexpr WordEntry kRussianWords[] = {
    {Word::kSkillAssigned, "Навык назначен: %s"},
    {Word::kNotSavedReadOnly, " (не сохранено: artwheel.ini только для чтения)"},
    {Word::kNotSavedInUse, " (не сохранено: artwheel.ini занят другой программой)"},
    {Word::kNotSavedError, " (не сохранено: ошибка %lu)"},
    {Word::kXboxDpadDown, "Крестовина вниз"},
    {Word::kXboxDpadUp, "Крестовина вверх"},
    {Word::kXboxDpadLeft, "Крестовина влево"},
    {Word::kXboxDpadRight, "Крестовина вправо"},
    {Word::kXboxLB, "LB"},
    {Word::kXboxRB, "RB"},
    {Word::kXboxBack, "Назад"},
    {Word::kXboxLS, "LS"},
    {Word::kXboxRS, "RS"},
    {Word::kXboxY, "Y"},
    {Word::kXboxA, "A"},
    {Word::kXboxB, "B"},
    {Word::kXboxX, "X"},
    {Word::kPsDpadDown, "Кнопка вниз"},
    {Word::kPsDpadUp, "Кнопка вверх"},
    {Word::kPsDpadLeft, "Кнопка влево"},
    {Word::kPsDpadRight, "Кнопка вправо"},
    {Word::kPsL1, "L1"},
    {Word::kPsR1, "R1"},
    {Word::kPsShare, "SHARE"},
    {Word::kPsL3, "L3"},
    {Word::kPsR3, "R3"},
    {Word::kPsTriangle, "Треугольник"},
    {Word::kPsCross, "Крест"},
    {Word::kPsCircle, "Круг"},
    {Word::kPsSquare, "Квадрат"},
};
static_assert(IsCompleteTable(kRussianWords), "every word, in the order of Word");

const WordEntry* RussianTable() { return kRussianWords; }

}  // namespace artwheel
