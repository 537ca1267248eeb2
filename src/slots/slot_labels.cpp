#include "slots/slot_labels.h"

#include "base/text_format.h"

namespace artwheel {
namespace {

constexpr int kLabelSize = 48;

char longLabels[kSlotCount][kLabelSize] = {"DPadDown+Y", "DPadDown+A", "DPadDown+B", "DPadDown+X"};
char buttonWords[kSlotCount][kLabelSize] = {"DPad Down + Y", "DPad Down + A", "DPad Down + B",
                                            "DPad Down + X"};

}  // namespace

void SetSlotWords(const SlotWords& words) {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    FormatText(longLabels[slot], kLabelSize, "%s+%s", words.heldLabel, words.faceNames[slot]);
    FormatText(buttonWords[slot], kLabelSize, "%s + %s", words.heldWords, words.faceNames[slot]);
  }
}

const char* SlotLongLabel(int slot) { return longLabels[slot]; }

const char* SlotButtonWords(int slot) { return buttonWords[slot]; }

}  // namespace artwheel
