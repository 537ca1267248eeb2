#pragma once
// The four slots: slot 0 = Y, 1 = A, 2 = B, 3 = X, each with the labels that
// the log and the configuration file use.
namespace artwheel {

inline constexpr int kSlotCount = 4;

struct SlotDescription {
  const char* longLabel;
  const char* shortLabel;  // also the slot's key in [Slots] and [Keys]
};

inline constexpr SlotDescription SlotInfo[kSlotCount] = {
    {"DPadDown+Y", "Y"}, {"DPadDown+A", "A"}, {"DPadDown+B", "B"}, {"DPadDown+X", "X"}};

}  // namespace artwheel
