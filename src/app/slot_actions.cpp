#include "app/slot_actions.h"

#include <windows.h>

#include "base/log.h"
#include "base/text_format.h"
#include "game/game_checks.h"
#include "overlay/overlay_state.h"
#include "overlay/present_hook.h"
#include "slots/assign.h"
#include "slots/equip.h"
#include "slots/slot_labels.h"
#include "words/words.h"

namespace artwheel {
namespace {

// Shows the confirmation in the player's language, with the English one for
// when no installed font can draw it, installing the overlay's Present hook
// before its first message.
void ConfirmOnScreen(const Settings& settings, int slot, SlotTrigger trigger,
                     unsigned long saveError) {
  const Language language = ResolveLanguage(settings.language, GetUserDefaultUILanguage());
  char message[kAssignedMessageSize] = {};
  char english[kAssignedMessageSize] = {};
  if (!FormatConfirmation(settings, slot, trigger, language, saveError, message) ||
      !FormatConfirmation(settings, slot, trigger, Language::kEn, saveError, english)) {
    return;
  }
  if (settings.overlayEnabled && InstallPresentHook()) {
    PostOverlayMessage(message, language, english);
  }
}

// Stores the menu's selected combat art in the slot, in the settings and in
// artwheel.ini, then confirms it on screen.
void AssignSlot(Settings& settings, int slot, SlotTrigger trigger) {
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
  ConfirmOnScreen(settings, slot, trigger, saveError);
}

}  // namespace

bool FormatConfirmation(const Settings& settings, int slot, SlotTrigger trigger, Language language,
                        unsigned long saveError, char (&message)[kAssignedMessageSize]) {
  char pressed[kSlotButtonWordsSize] = {};
  if (trigger == SlotTrigger::kKey) {
    FormatText(pressed, sizeof pressed, "%s", settings.slotKeys[slot].name);
  } else {
    FormatSlotButtonWords(slot, language, pressed);
  }
  return FormatAssignedMessage(language, pressed, saveError, message);
}

void ActOnSlot(Settings& settings, int slot, bool assignmentMode, SlotTrigger trigger) {
  // Once a check failed the worker hands the filters no combination and reads
  // no key; nothing that comes here then may reach the game.
  if (!GameAccessAllowed()) return;
  if (assignmentMode) {
    AssignSlot(settings, slot, trigger);
  } else {
    EquipFromSlot(slot, settings.slotArtIds[slot]);
  }
}

}  // namespace artwheel
