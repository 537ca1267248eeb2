#include "app/slot_actions.h"

#include "base/log.h"
#include "game/game_checks.h"
#include "overlay/overlay_state.h"
#include "overlay/present_hook.h"
#include "slots/assign.h"
#include "slots/equip.h"
#include "slots/slot_labels.h"

namespace artwheel {
namespace {

// Shows the confirmation, installing the overlay's Present hook before its
// first message.
void ConfirmOnScreen(const Settings& settings, int slot, unsigned long saveError) {
  char message[kAssignedMessageSize] = {};
  if (!FormatAssignedMessage(slot, saveError, message)) return;
  if (settings.overlayEnabled && InstallPresentHook()) PostOverlayMessage(message);
}

// Stores the menu's selected combat art in the slot, in the settings and in
// artwheel.ini, then confirms it on screen.
void AssignSlot(Settings& settings, int slot) {
  Assignment assignment = {};
  if (!SelectArtForSlot(slot, &assignment)) return;
  settings.slotArtIds[slot] = assignment.artId;
  unsigned long saveError = 0;
  const bool saved = SaveSlotArt(slot, assignment.artId, &saveError);
  LogAssignment(assignment);
  if (!saved) {
    WriteLogFormat(
        "[Skill] Could not save slot %d (%s) to artwheel.ini (error %lu); it holds "
        "combat art id %u for this session only",
        slot, SlotLongLabel(slot), saveError, assignment.artId);
  }
  ConfirmOnScreen(settings, slot, saveError);
}

}  // namespace

void ActOnSlot(Settings& settings, int slot, bool assignmentMode) {
  // Once a check failed the worker hands the filters no combination and reads
  // no key; nothing that comes here then may reach the game.
  if (!GameAccessAllowed()) return;
  if (assignmentMode) {
    AssignSlot(settings, slot);
  } else {
    EquipFromSlot(slot, settings.slotArtIds[slot]);
  }
}

}  // namespace artwheel
