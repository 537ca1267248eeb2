#include "slots/assign.h"

#include <windows.h>

#include "base/log.h"
#include "base/text_format.h"
#include "game/game_door.h"
#include "slots/slot_labels.h"

namespace artwheel {
bool SelectArtForSlot(int slot, Assignment* assignment) {
  if (slot < 0 || slot >= kSlotCount) return false;
  uint32_t selected = 0;
  const bool read = ReadSelectedArt(&selected);
  if (FindAssignment(kGameCalls, slot, read ? &selected : nullptr, assignment)) return true;
  WriteLogFormat("[Skill] Assignment failed for %s; selected combat art was not found",
                 SlotLongLabel(slot));
  return false;
}

void LogAssignment(const Assignment& assignment) {
  WriteLogFormat("[Skill] Assigned combat art id %u (resolved %u) to slot %d (%s)",
                 assignment.artId, assignment.resolvedId, assignment.slot,
                 SlotLongLabel(assignment.slot));
}

bool FormatAssignedMessage(int slot, unsigned long saveError,
                           char (&message)[kAssignedMessageSize]) {
  const char* label = SlotButtonWords(slot);
  if (saveError == 0) {
    return FormatText(message, sizeof message, "Skill assigned to %s", label) > 0;
  }
  // A file marked read-only, or on a medium that takes no writes.
  if (saveError == ERROR_ACCESS_DENIED || saveError == ERROR_WRITE_PROTECT) {
    return FormatText(message, sizeof message,
                      "Skill assigned to %s (not saved: artwheel.ini is read-only)", label) > 0;
  }
  if (saveError == ERROR_SHARING_VIOLATION || saveError == ERROR_LOCK_VIOLATION) {
    return FormatText(message, sizeof message,
                      "Skill assigned to %s (not saved: artwheel.ini is in use by another "
                      "program)",
                      label) > 0;
  }
  return FormatText(message, sizeof message, "Skill assigned to %s (not saved: error %lu)", label,
                    saveError) > 0;
}

}  // namespace artwheel
