#pragma once
// Every text the overlay draws, in each language the player may choose. The
// log is not translated: it stays English so that it reads the same in any
// support thread. Platform-free.
//
// Adding a word:
//  1. add its id to `Word` just above `kCount` (the last block is the newest);
//  2. add `{Word::kItsId, "text"}` at the same place, the end, of every table
//     words_<code>.cpp, in UTF-8; the English text is the one the overlay
//     showed before it had languages, and the others take the same printf
//     placeholders in the same order (unit.Words checks both);
//  3. a table with a word missing or out of place does not compile.
#include <cstddef>
#include <cstdint>

#include "words/language.h"

namespace artwheel {

enum class Word : uint16_t {
  // The assignment's confirmation: "Skill assigned to %s" with the buttons
  // (or the key) pressed, and, when artwheel.ini could not be written, one of
  // the suffixes saying why.
  kSkillAssigned,
  kNotSavedReadOnly,
  kNotSavedInUse,
  kNotSavedError,  // %lu: the system's error code
  // Button words, Xbox naming: the held buttons of [Combination] Modifier in
  // its order, then the face buttons in slot order (Y, A, B, X).
  kXboxDpadDown,
  kXboxDpadUp,
  kXboxDpadLeft,
  kXboxDpadRight,
  kXboxLB,
  kXboxRB,
  kXboxBack,
  kXboxLS,
  kXboxRS,
  kXboxY,
  kXboxA,
  kXboxB,
  kXboxX,
  // The same buttons in PlayStation naming.
  kPsDpadDown,
  kPsDpadUp,
  kPsDpadLeft,
  kPsDpadRight,
  kPsL1,
  kPsR1,
  kPsShare,
  kPsL3,
  kPsR3,
  kPsTriangle,
  kPsCross,
  kPsCircle,
  kPsSquare,
  // The settings menu: its title, its items' names in their order, the values
  // that are words ("%u %%": the panel's opacity; "%u nits": the HDR paper
  // white), and the line of a save that failed, before a "not saved" suffix.
  kMenuTitle,
  kMenuCombinations,
  kMenuHeldButton,
  kMenuButtonNames,
  kMenuController,
  kMenuSkillPanel,
  kMenuCorner,
  kMenuScale,
  kMenuOpacity,
  kMenuSlotWheel,
  kMenuLanguage,
  kMenuHdr,
  kMenuPaperWhite,
  kMenuClose,
  kMenuOn,
  kMenuOff,
  kMenuAuto,
  kMenuBottomRight,
  kMenuBottomLeft,
  kMenuTopRight,
  kMenuTopLeft,
  kMenuPercent,
  kMenuNits,
  kMenuChanged,
  // New words go here, in the same place in every table.
  kCount
};

inline constexpr size_t kWordCount = static_cast<size_t>(Word::kCount);

// The word in that language (UTF-8); English for kAuto or a value out of range.
const char* WordText(Language language, Word word);

// Formats the word with the English text's placeholders into `buffer`, as
// FormatText does (refused rather than cut: empty and -1 when it does not fit).
int FormatWord(char* buffer, size_t size, Language language, Word word, ...);

// The language Auto stands for, from a Windows language id (a LANGID: primary
// language in the low 10 bits, region above): its regional variants go to the
// language, Chinese by script (Taiwan, Hong Kong and Macao write Traditional),
// anything else is English.
Language LanguageOfLangId(uint16_t langId);

// The language the texts are drawn in: the chosen one, or for Auto the one of
// the user interface's language id.
Language ResolveLanguage(Language chosen, uint16_t uiLangId);

// One table: every word in the order of `Word`.
struct WordEntry {
  Word word;
  const char* text;
};

template <size_t N>
constexpr bool IsCompleteTable(const WordEntry (&table)[N]) {
  if (N != kWordCount) return false;
  for (size_t i = 0; i < N; ++i) {
    if (table[i].word != static_cast<Word>(i) || table[i].text == nullptr) return false;
  }
  return true;
}

}  // namespace artwheel
