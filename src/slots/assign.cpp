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

bool FormatAssignedMessage(Language language, const char* pressed, unsigned long saveError,
                           char (&message)[kAssignedMessageSize]) {
  if (FormatWord(message, sizeof message, language, Word::kSkillAssigned, pressed) <= 0) {
    return false;
  }
  if (saveError == 0) return true;
  char why[kAssignedMessageSize] = {};
  // A file marked read-only, or on a medium that takes no writes.
  if (saveError == ERROR_ACCESS_DENIED || saveError == ERROR_WRITE_PROTECT) {
    FormatWord(why, sizeof why, language, Word::kNotSavedReadOnly);
  } else if (saveError == ERROR_SHARING_VIOLATION || saveError == ERROR_LOCK_VIOLATION) {
    FormatWord(why, sizeof why, language, Word::kNotSavedInUse);
  } else {
    FormatWord(why, sizeof why, language, Word::kNotSavedError, saveError);
  }
  return AppendText(message, sizeof message, why);
}

}  // namespace artwheel
