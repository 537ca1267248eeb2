#pragma once
// The four slots: slot 0 = Y, 1 = A, 2 = B, 3 = X, each with its key in the
// configuration file, its label in the log ("DPadDown+Y", always English) and
// the words of its buttons on screen ("DPad Down + Y" in English), after the
// buttons the player chose.
#include <cstddef>

#include "words/words.h"

namespace artwheel {

inline constexpr int kSlotCount = 4;

struct SlotDescription {
  const char* shortLabel;  // the slot's key in [Slots] and [Keys]
};

inline constexpr SlotDescription SlotInfo[kSlotCount] = {{"Y"}, {"A"}, {"B"}, {"X"}};

// The held button's name in labels ("DPadDown") and the face buttons' names
// in slot order, for the log; the same buttons' words on screen.
struct SlotWords {
  const char* heldLabel;
  const char* faceNames[kSlotCount];
  Word heldWord;
  Word faceWords[kSlotCount];
};

// Worker thread, like every reader of the labels.
void SetSlotWords(const SlotWords& words);

// "DPadDown+Y": the slot's long label in log lines.
const char* SlotLongLabel(int slot);

inline constexpr size_t kSlotButtonWordsSize = 96;

// "DPad Down + Y" in that language: the slot's buttons in messages.
void FormatSlotButtonWords(int slot, Language language, char (&words)[kSlotButtonWordsSize]);

}  // namespace artwheel
