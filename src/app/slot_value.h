#pragma once
// What a [Slots] value in artwheel.ini stands for, so that a value the system
// cannot take as a combat art is named at load. Platform-free.
#include <string_view>

namespace artwheel {

enum class SlotValue {
  kEmpty,       // no text, or 0
  kKnownArt,    // 5000 to 9900 in steps of 100
  kUnknownId,   // a number the system does not know; still sent to the game
  kNotANumber,  // anything but decimal digits (or more than 32 bits of them)
};

// `text` is the value with its inline comment removed and trimmed.
SlotValue ClassifySlotValue(std::string_view text);

}  // namespace artwheel
