#pragma once
#include <cstddef>
#include <cstdint>

#include "slots/slot_decisions.h"

namespace artwheel {

// Reads the menu's selected combat art for the slot; false (logged) when it
// cannot be read or is not among the save's known arts.
bool SelectArtForSlot(int slot, Assignment* assignment);

// The log line of a stored assignment.
void LogAssignment(const Assignment& assignment);

inline constexpr size_t kAssignedMessageSize = 128;

// "Skill assigned to DPad Down + Y" (the slot's button words), and when the save failed
// (`saveError` not 0) why it was not saved; false when it cannot be formatted.
bool FormatAssignedMessage(int slot, unsigned long saveError,
                           char (&message)[kAssignedMessageSize]);

}  // namespace artwheel
