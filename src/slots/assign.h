#pragma once
#include <cstddef>
#include <cstdint>

#include "slots/slot_decisions.h"
#include "words/words.h"

namespace artwheel {

// Reads the menu's selected combat art for the slot; false (logged) when it
// cannot be read or is not among the save's known arts.
bool SelectArtForSlot(int slot, Assignment* assignment);

// The log line of a stored assignment.
void LogAssignment(const Assignment& assignment);

// UTF-8 of a message that fills the overlay's 127 UTF-16 code units.
inline constexpr size_t kAssignedMessageSize = 384;

// "Skill assigned to DPad Down + Y" in that language, with what the player
// pressed (the slot's button words, or its key), and when the save failed
// (`saveError` not 0) why it was not saved; false when it cannot be formatted.
bool FormatAssignedMessage(Language language, const char* pressed, unsigned long saveError,
                           char (&message)[kAssignedMessageSize]);

}  // namespace artwheel
