#include "app/menu_session.h"

#include <windows.h>

#include "app/menu_texts.h"
#include "app/settings.h"
#include "base/log.h"
#include "base/text_format.h"
#include "input/combo_guard.h"
#include "input/keyboard.h"
#include "input/menu_gate.h"
#include "overlay/overlay_state.h"
#include "overlay/present_hook.h"
#include "words/words.h"

namespace artwheel {
namespace {

Language ShownLanguage(const Settings& settings) {
  return ResolveLanguage(settings.language, GetUserDefaultUILanguage());
}

// The held button in force: the one the menu was opened with while it is open.
uint16_t HeldBitInForce(const MenuSession& session, const Settings& settings) {
  const HeldButton held = session.open ? session.atOpen.heldButton : settings.heldButton;
  return kHeldButtons[static_cast<int>(held)].xinputBit;
}

void Publish(const MenuSession& session, const Settings& settings) {
  static MenuLines lines;  // worker thread only
  ComposeMenuLines(settings, session.model, ShownLanguage(settings), lines);
  ShowMenu(lines);
}

// Applied at once, except the held button and the controller: the pad that
// opened the menu keeps its meaning until it closes.
void ApplyPreview(const MenuSession& session, const Settings& settings,
                  void (*handOver)(const Settings&)) {
  Settings preview = settings;
  preview.heldButton = session.atOpen.heldButton;
  preview.controller = session.atOpen.controller;
  handOver(preview);
}

uint32_t KeysDown(const MenuKeyStates& keys) {
  uint32_t bits = 0;
  const bool down[] = {keys.up,    keys.down,  keys.left,   keys.right,
                       keys.enter, keys.enter, keys.escape, keys.menuKey};
  for (int place = 0; place < kMenuKeyCount; ++place) {
    if (down[place]) bits |= 1u << place;
  }
  return bits;
}

bool Open(MenuSession& session, const Settings& settings, int pad) {
  if (!InstallPresentHook()) {  // before any overlay lock is taken
    if (!session.drawFailedLogged) WriteLogLine("[Menu] Not opened: the overlay cannot draw");
    session.drawFailedLogged = true;
    return false;
  }
  session.open = true;
  session.pad = pad;
  session.atOpen = settings;
  session.model = MenuModel{};
  session.repeat = MenuRepeat{};  // what is down now acts only when pressed again
  menuGate.hiddenKeys.store(kAllMenuKeys, std::memory_order_relaxed);
  menuGate.heldAfterClose.store(0, std::memory_order_relaxed);
  menuGate.pad.store(static_cast<uint8_t>(pad), std::memory_order_relaxed);
  menuGate.open.store(true, std::memory_order_relaxed);
  Publish(session, settings);
  WriteLogLine("[Menu] Opened");
  return true;
}

// "[SkillPanel] Corner=TopLeft, [SkillPanel] Scale=1.5"
void ListKeys(const Settings& settings, const SettingKey* const* keys, int count, char* out,
              size_t size) {
  size_t used = 0;
  out[0] = '\0';
  for (int i = 0; i < count; ++i) {
    char value[64];
    ShowKey(*keys[i], settings, ShowStyle::kFile, value, sizeof value);
    const int written = FormatText(out + used, size - used, "%s[%s] %s=%s", i == 0 ? "" : ", ",
                                   keys[i]->section, keys[i]->name, value);
    if (written < 0) return;
    used += static_cast<size_t>(written);
  }
}

void SaveChanges(const MenuSession& session, const Settings& settings) {
  const SettingKey* keys[kMenuItemCount] = {};
  const int count = ChangedMenuKeys(session.atOpen, settings, keys);
  if (count == 0) {
    WriteLogLine("[Menu] Closed; nothing changed");
    return;
  }
  char list[400];
  ListKeys(settings, keys, count, list, sizeof list);
  unsigned long error = 0;
  if (SaveSettingKeys(settings, keys, count, &error)) {
    WriteLogFormat("[Menu] Closed; saved to artwheel.ini: %s", list);
    return;
  }
  WriteLogFormat(
      "[Menu] Closed; could not save to artwheel.ini (error %lu), for this session only: %s", error,
      list);
  char message[kMessageCapacity * 3];
  FormatMenuNotSaved(ShownLanguage(settings), error, message, sizeof message);
  if (InstallPresentHook()) PostOverlayMessage(message);
}

// The buttons of the pad, 0 when it did not answer in this tick.
uint16_t ButtonsOf(const MenuTick& tick, int pad) {
  return (tick.answered & PadBit(pad)) != 0 ? tick.buttons[pad] : 0;
}

void Close(MenuSession& session, Settings& settings, const MenuTick& tick,
           const MenuKeyStates& keys, void (*handOver)(const Settings&)) {
  session.open = false;
  // Whatever is down now stays the menu's until it is let go.
  menuGate.heldAfterClose.store(ButtonsOf(tick, session.pad), std::memory_order_relaxed);
  menuGate.hiddenKeys.store(KeysDown(keys), std::memory_order_relaxed);
  menuGate.open.store(false, std::memory_order_relaxed);
  HideMenu();
  handOver(settings);  // the held button and the controller too, from now on
  SaveChanges(session, settings);
}

// Keys and buttons still down from the menu are forgotten once seen up.
void ForgetReleased(const MenuSession& session, const MenuTick& tick, const MenuKeyStates& keys) {
  const uint16_t held = menuGate.heldAfterClose.load(std::memory_order_relaxed);
  if (held != 0) {
    const auto still = static_cast<uint16_t>(held & ButtonsOf(tick, session.pad));
    menuGate.heldAfterClose.store(still, std::memory_order_relaxed);
  }
  const uint32_t hidden = menuGate.hiddenKeys.load(std::memory_order_relaxed);
  if (hidden != 0) menuGate.hiddenKeys.store(hidden & KeysDown(keys), std::memory_order_relaxed);
}

MenuControls KeyControls(const MenuKeyStates& keys) {
  return MenuControls{keys.up, keys.down, keys.left, keys.right, keys.enter, keys.escape};
}

}  // namespace

bool RunMenu(MenuSession& session, Settings& settings, const MenuTick& tick,
             void (*handOver)(const Settings&)) {
  if (!settings.menu.enabled && !session.open) return false;
  const bool keysWanted = session.open || settings.menu.key.virtualKey != 0 ||
                          menuGate.hiddenKeys.load(std::memory_order_relaxed) != 0;
  MenuKeyStates keys;
  if (keysWanted) {
    keys = ReadMenuKeys(settings.menu.key,
                        session.open || menuGate.hiddenKeys.load(std::memory_order_relaxed) != 0);
  }
  const bool keyPressed = keys.menuKey && !session.menuKeyDown;
  session.menuKeyDown = keys.menuKey;
  const uint16_t heldBit = HeldBitInForce(session, settings);
  const uint16_t openBit = ChooseMenuOpenControl(settings.menu.open, heldBit).bit;
  const auto isChord = [heldBit, openBit](uint16_t buttons) {
    return (buttons & heldBit) != 0 && (buttons & openBit) != 0;
  };
  if (!session.open) {
    ForgetReleased(session, tick, keys);
    // The first pad that holds the chord; it alone moves through the menu.
    int chordPad = -1;
    for (int pad = kPadCount - 1; pad >= 0; --pad) {
      if (!isChord(ButtonsOf(tick, pad))) continue;
      ArmComboGuard(pad);
      chordPad = pad;
    }
    const uint64_t now = GetTickCount64();
    const bool chordHeld = HoldMenuChord(session.chord, chordPad >= 0, now, settings.menu.holdMs);
    if (chordHeld) return Open(session, settings, chordPad);
    if (keyPressed) return Open(session, settings, session.pad);
    return false;
  }
  const uint16_t buttons = ButtonsOf(tick, session.pad);
  if (PressMenuChord(session.chord, isChord(buttons)) || keyPressed) {
    Close(session, settings, tick, keys, handOver);
    return false;
  }
  const MenuControls pad = PadMenuControls(buttons);
  const MenuCommand command = NextMenuCommand(
      session.repeat, CombineMenuControls(pad, KeyControls(keys)), GetTickCount64());
  switch (ApplyMenuCommand(session.model, settings, command)) {
    case MenuOutcome::kNothing:
      break;
    case MenuOutcome::kMoved:
      Publish(session, settings);
      break;
    case MenuOutcome::kChanged:
      ApplyPreview(session, settings, handOver);
      Publish(session, settings);
      break;
    case MenuOutcome::kClose:
      Close(session, settings, tick, keys, handOver);
      return false;
  }
  return true;
}

void KeepMenuButtonsFromCombinations(uint16_t (&buttons)[kPadCount]) {
  const int pad = menuGate.pad.load(std::memory_order_relaxed);
  const uint16_t held = menuGate.heldAfterClose.load(std::memory_order_relaxed);
  buttons[pad] = static_cast<uint16_t>(buttons[pad] & ~held);
}

void ChooseCombinationWithMenu(const Settings& settings, bool combinationsAllowed) {
  const uint16_t heldBit = kHeldButtons[static_cast<int>(settings.heldButton)].xinputBit;
  const MenuOpenControl open = ChooseMenuOpenControl(settings.menu.open, heldBit);
  const bool menu = settings.menu.enabled;
  ChooseCombination(settings.heldButton, settings.combinationEnabled && combinationsAllowed,
                    menu ? open.bit : 0, menu ? open.deviceButton : HeldControl::kNoPartner);
  menuGate.ownKeyCode.store(menu ? DirectInputKeyCode(settings.menu.key.virtualKey) : 0,
                            std::memory_order_relaxed);
}

}  // namespace artwheel
