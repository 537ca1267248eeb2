#include "slots/assign.h"

#include <cstring>

#include "base/log.h"
#include "base/memory.h"
#include "base/text_format.h"
#include "game/game_layout.h"
#include "game/game_memory.h"
#include "slots/combat_arts.h"
#include "slots/slot_labels.h"

namespace artwheel {
namespace {

// The combat art id under the menu's cursor; false when it cannot be read or
// is not among the owned known arts.
bool SelectedArt(uint32_t* artId, uint32_t* resolvedId) {
  const uint64_t menu = MenuStateManagerPointer();
  if (menu == 0 || !IsReadable(menu + kSelectedResolvedIdField, sizeof(uint32_t))) return false;
  std::memcpy(resolvedId, reinterpret_cast<const void*>(menu + kSelectedResolvedIdField),
              sizeof *resolvedId);
  return FindArtIdByResolvedId(*resolvedId, artId);
}

}  // namespace

bool SelectArtForSlot(int slot, Assignment* assignment) {
  if (slot < 0 || slot >= kSlotCount) return false;
  *assignment = Assignment{slot, 0, 0};
  if (SelectedArt(&assignment->artId, &assignment->resolvedId)) return true;
  WriteLogFormat("[Skill] Assignment failed for %s; selected combat art was not found",
                 SlotLongLabel(slot));
  return false;
}

void LogAssignment(const Assignment& assignment) {
  WriteLogFormat("[Skill] Assigned combat art id %u (resolved %u) to slot %d (%s)",
                 assignment.artId, assignment.resolvedId, assignment.slot,
                 SlotLongLabel(assignment.slot));
}

bool FormatAssignedMessage(int slot, char (&message)[64]) {
  return FormatText(message, sizeof message, "Skill assigned to %s", SlotButtonWords(slot)) > 0;
}

}  // namespace artwheel
