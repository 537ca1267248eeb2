#pragma once
// The four slots: slot 0 = Y, 1 = A, 2 = B, 3 = X, each with its key in the
// configuration file and the words that the log and the messages give its
// buttons ("DPadDown+Y", "DPad Down + Y" unless the player chose others).
namespace artwheel {

inline constexpr int kSlotCount = 4;

struct SlotDescription {
  const char* shortLabel;  // the slot's key in [Slots] and [Keys]
};

inline constexpr SlotDescription SlotInfo[kSlotCount] = {{"Y"}, {"A"}, {"B"}, {"X"}};

// The held button's name in labels ("DPadDown") and in messages ("DPad
// Down"), and the face buttons' names in slot order.
struct SlotWords {
  const char* heldLabel;
  const char* heldWords;
  const char* faceNames[kSlotCount];
};

// Worker thread, like every reader of the labels.
void SetSlotWords(const SlotWords& words);

// "DPadDown+Y": the slot's long label in log lines.
const char* SlotLongLabel(int slot);

// "DPad Down + Y": the slot's buttons in messages.
const char* SlotButtonWords(int slot);

}  // namespace artwheel
