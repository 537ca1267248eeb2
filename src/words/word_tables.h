#pragma once
// The tables behind WordText, one file per language.
#include "words/words.h"

namespace artwheel {

const WordEntry* EnglishTable();
const WordEntry* SimplifiedChineseTable();
const WordEntry* TraditionalChineseTable();
const WordEntry* JapaneseTable();
const WordEntry* KoreanTable();
const WordEntry* RussianTable();
const WordEntry* SpanishTable();
const WordEntry* BrazilianPortugueseTable();
const WordEntry* FrenchTable();
const WordEntry* GermanTable();
const WordEntry* ItalianTable();
const WordEntry* PolishTable();

}  // namespace artwheel
