#include "slots/slot_labels.h"

#include "base/text_format.h"

namespace artwheel {
namespace {

constexpr int kLabelSize = 48;

char longLabels[kSlotCount][kLabelSize] = {"DPadDown+Y", "DPadDown+A", "DPadDown+B", "DPadDown+X"};
Word heldWord = Word::kXboxDpadDown;
Word faceWords[kSlotCount] = {Word::kXboxY, Word::kXboxA, Word::kXboxB, Word::kXboxX};

}  // namespace

void SetSlotWords(const SlotWords& words) {
  heldWord = words.heldWord;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    FormatText(longLabels[slot], kLabelSize, "%s+%s", words.heldLabel, words.faceNames[slot]);
    faceWords[slot] = words.faceWords[slot];
  }
}

const char* SlotLongLabel(int slot) { return longLabels[slot]; }

void FormatSlotButtonWords(int slot, Language language, char (&words)[kSlotButtonWordsSize]) {
  FormatText(words, sizeof words, "%s + %s", WordText(language, heldWord),
             WordText(language, faceWords[slot]));
}

}  // namespace artwheel
