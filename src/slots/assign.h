#pragma once
#include <cstdint>

namespace artwheel {

// The combat art under the combat-art menu's cursor, found for a slot.
struct Assignment {
  int slot;
  uint32_t artId;
  uint32_t resolvedId;
};

// Reads the menu's selected combat art for the slot; false (logged) when it
// cannot be read or is not among the save's known arts.
bool SelectArtForSlot(int slot, Assignment* assignment);

// The log line of a stored assignment.
void LogAssignment(const Assignment& assignment);

// "Skill assigned to DPad Down + Y" (the slot's button words); false when it cannot be formatted.
bool FormatAssignedMessage(int slot, char (&message)[64]);

}  // namespace artwheel
