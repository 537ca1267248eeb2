#include "app/worker.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "app/loaded_as.h"
#include "app/slot_actions.h"
#include "base/log.h"
#include "base/text_format.h"
#include "diagnostics/diagnostics_settings.h"
#include "diagnostics/hud_probe.h"
#include "diagnostics/uiscan.h"
#include "game/game_checks.h"
#include "game/game_door.h"
#include "input/combo_guard.h"
#include "input/keyboard.h"
#include "input/pad_follow.h"
#include "input/xinput_hooks.h"
#include "input/xinput_libraries.h"
#include "overlay/color_space_hook.h"
#include "overlay/overlay_state.h"
#include "overlay/present_hook.h"
#include "slots/combat_arts.h"
#include "slots/panel_state.h"
#include "slots/slot_labels.h"

namespace artwheel {
namespace {

static_assert(kWheelSlotCount == kSlotCount, "the wheel shows every slot");

constexpr DWORD kTickSleepMs = 16;
constexpr uint64_t kInstallerPeriodMs = 1000;
constexpr uint64_t kSettingsLookPeriodMs = 1000;
// Without any XInput library the discovery fails every tick; one line every
// few seconds says as much as sixty a second.
constexpr uint64_t kXInputMissingLogPeriodMs = 5000;

// The buttons of the pads that answered the worker's reads in this tick.
struct PadRead {
  PadSet answered = 0;
  uint16_t buttons[kPadCount] = {};
};

void RunImportInstallers() {
  InstallGetProcAddressImportHooks();
  InstallXInputImportHooks();
}

// Returns false while no XInput library is known.
bool KeepXInputReady(WorkerState& state, uint64_t now) {
  if (FoundXInputGetState() != nullptr) {
    if (now - state.lastInstallerRun > kInstallerPeriodMs) {
      RunImportInstallers();
      state.lastInstallerRun = now;
    }
    return true;
  }
  if (!DiscoverXInputLibraries()) {
    if (!state.xinputMissingLogged ||
        now - state.lastXInputMissingLog >= kXInputMissingLogPeriodMs) {
      WriteLogLine("[Input] Could not load XInput");
      state.xinputMissingLogged = true;
      state.lastXInputMissingLog = now;
    }
    return false;
  }
  // lastInstallerRun stays as it is, so the periodic run follows in the next tick.
  RunImportInstallers();
  WriteLogFormat("[Input] XInput initialized; known versions=%lu",
                 static_cast<unsigned long>(XInputLibraries.count));
  return true;
}

void TrackAssignmentMode(WorkerState& state, bool mode) {
  if (mode == state.lastAssignmentMode) return;
  state.lastAssignmentMode = mode;
  WriteLogFormat("[Menu] Skill assignment mode %s", mode ? "ON" : "OFF");
}

// True when the pad's combination acted in this tick. One slot action per
// tick: a new combination on a second pad in the same tick acts in the next.
bool ActOnCombination(WorkerState& state, int pad, uint16_t buttons, bool assignmentMode,
                      bool actedAlready) {
  const int slot = DecodeCombination(buttons);
  if (slot != kNoSlot) ArmComboGuard(pad);
  int& lastSlot = state.lastSlots[pad];
  if (slot == lastSlot || (slot != kNoSlot && actedAlready)) return false;
  lastSlot = slot;
  if (slot == kNoSlot) return false;
  ActOnSlot(state.settings, slot, assignmentMode, SlotTrigger::kCombination);
  return true;
}

bool ActOnCombinations(WorkerState& state, const PadRead& pads, bool assignmentMode) {
  bool acted = false;
  for (int pad = 0; pad < kPadCount; ++pad) {
    if ((pads.answered & PadBit(pad)) == 0) continue;
    if (ActOnCombination(state, pad, pads.buttons[pad], assignmentMode, acted)) acted = true;
  }
  return acted;
}

bool AnyHeldButtonDown(const PadRead& pads) {
  for (int pad = 0; pad < kPadCount; ++pad) {
    if ((pads.answered & PadBit(pad)) != 0 && IsHeldButtonDown(pads.buttons[pad])) return true;
  }
  return false;
}

// One slot action per tick: a key pressed in the tick in which a combination
// acted has been seen and does not act later.
void ActOnSlotKeys(WorkerState& state, bool assignmentMode, bool combinationActed) {
  const int slot = PollSlotKeys(state.slotKeys, state.settings.slotKeys);
  if (slot == kNoSlot || combinationActed) return;
  WriteLogFormat("[Input] Key %s pressed for slot %d (%s)", state.settings.slotKeys[slot].name,
                 slot, SlotInfo[slot].shortLabel);
  ActOnSlot(state.settings, slot, assignmentMode, SlotTrigger::kKey);
}

void RunDiagnostics(const Settings& settings) {
  if (settings.uiScanEnabled) UIScanTick();
  if (settings.hudProbeEnabled) HudProbeTick();
}

// The file's [SkillPanel] Enable, looked at (one stamp check while the file is
// unchanged) in every tick in which the panel or the wheel shows, and before
// either comes up.
void LookAtPanelSwitch() { SetPanelSwitch(SkillPanelEnabledInFile()); }

void PublishPanel(WorkerState& state, PanelDecision decision) {
  switch (decision.kind) {
    case PanelDecision::kHide:
      SetPanelState(false, 0);
      state.panelShown = false;
      break;
    case PanelDecision::kShow: {
      LookAtPanelSwitch();
      const bool visible = InstallPresentHook();  // before any overlay lock is taken
      SetPanelState(visible, decision.artId);
      state.panelShown = visible;
      state.equippedArtId = decision.artId;
      break;
    }
    case PanelDecision::kKeep:
      break;
  }
}

// The wheel shows while the held button is down where the panel shows, and all
// the time the combat-art menu is open: there an assignment appears in it at
// once. The overlay is told only of changes.
void PublishWheel(WorkerState& state, bool held, bool assignmentMode) {
  const Settings& settings = state.settings;
  bool shown = settings.overlay.layout.showSlots && settings.skillPanelEnabled &&
               ((held && state.panelShown) || assignmentMode);
  if (shown) shown = InstallPresentHook();  // before any overlay lock is taken
  if (shown && !state.wheelShown && !state.panelShown) LookAtPanelSwitch();
  if (shown == state.wheelShown && state.equippedArtId == state.wheelEquippedArtId &&
      std::equal(std::begin(state.wheelArtIds), std::end(state.wheelArtIds),
                 std::begin(settings.slotArtIds))) {
    return;
  }
  state.wheelShown = shown;
  state.wheelEquippedArtId = state.equippedArtId;
  std::copy(std::begin(settings.slotArtIds), std::end(settings.slotArtIds),
            std::begin(state.wheelArtIds));
  SetWheelState(shown, state.wheelArtIds, state.wheelEquippedArtId);
}

// With the game's addresses failed nothing could act on a combination: the
// filters are handed none, and the game gets every button.
void HandOverCombination(const Settings& settings) {
  ChooseCombinationWithMenu(settings, GameAccessAllowed());
  ChooseFilteredPads(FilteredPads(settings.controller));
  const ButtonNames names = settings.buttonNames;
  SetSlotWords(SlotWords{HeldButtonLabel(settings.heldButton, names),
                         {FaceButtonName(0, names), FaceButtonName(1, names),
                          FaceButtonName(2, names), FaceButtonName(3, names)},
                         HeldButtonWord(settings.heldButton, names),
                         {FaceButtonWord(0, names), FaceButtonWord(1, names),
                          FaceButtonWord(2, names), FaceButtonWord(3, names)}});
}

void HandOverOverlay(const Settings& settings) {
  OverlaySettings overlay = settings.overlay;
  FormatText(overlay.folder, sizeof overlay.folder, "%s", LibraryFolder());
  ConfigureOverlay(overlay);
  // Games set their colour space once, right after making the swap chain.
  if (overlay.hdr == HdrMode::kAuto) InstallColorSpaceHook();
}

// What the input filters, the slots' words, the overlay and the diagnostics
// take from the settings, handed over after the load and after each reload.
void HandOverSettings(const Settings& settings) {
  HandOverCombination(settings);
  HandOverOverlay(settings);
  ConfigureUIScan(UIScanSettings{settings.uiScanDetail, settings.uiScanIntervalMs});
  ConfigureHudProbe(HudProbeSettings{settings.hudProbeGlobalFields,
                                     settings.hudProbeDumpGlobalPointers,
                                     settings.dumpGlobalPointerLimit, LibraryFolder()});
}

// [General] ApplyChanges: about once a second, one look at the file's stamp.
void LookForSettingsChange(WorkerState& state, uint64_t now) {
  if (!state.settings.applyChanges || now - state.lastSettingsLook < kSettingsLookPeriodMs) return;
  state.lastSettingsLook = now;
  if (!ReloadConfigIfChanged(state.settings, &HandOverSettings)) return;
  HoldAllSlotKeys(state.slotKeys);  // a key held across the change acts only when pressed again
}

// The pads due in this tick, read through the true XInputGetState.
PadRead ReadPads(WorkerState& state, uint64_t now) {
  PadRead pads;
  if (!KeepXInputReady(state, now)) return pads;
  TakeGameReadNotes(gameReadNotes, state.padWatches, now);
  // An open menu keeps the pads it was opened with until it closes.
  const PadChoice controller =
      state.menu.open ? state.menu.atOpen.controller : state.settings.controller;
  const PadSet due = PadsToRead(controller, state.padWatches, now);
  const XInputGetStateFn read = FoundXInputGetState();
  for (int pad = 0; pad < kPadCount; ++pad) {
    if ((due & PadBit(pad)) == 0) continue;
    XINPUT_STATE padState = {};
    const bool connected = read(static_cast<DWORD>(pad), &padState) == ERROR_SUCCESS;
    NoteOwnRead(state.padWatches, pad, connected, now);
    if (!connected) continue;
    pads.answered |= PadBit(pad);
    pads.buttons[pad] = padState.Gamepad.wButtons;
  }
  return pads;
}

// A pad that is gone (or no longer followed) holds no button: one lost in the
// middle of a combination must not keep its guard on until it comes back, and
// its combination fires again when it does.
void ForgetUnreadPads(WorkerState& state, const PadRead& pads) {
  for (int pad = 0; pad < kPadCount; ++pad) {
    const bool answered = (pads.answered & PadBit(pad)) != 0;
    if (!answered) state.lastSlots[pad] = kNoSlot;
    ReleaseComboGuardIfClear(comboGuards[pad], answered ? pads.buttons[pad] : 0);
  }
}

// With Auto, one line whenever the pads followed change; a chosen number
// follows its pad in silence.
void TrackFollowedPads(WorkerState& state, PadSet followed) {
  if (state.settings.controller != PadChoice::kAuto) {
    state.followedPads = 0;
    return;
  }
  if (followed == state.followedPads) return;
  state.followedPads = followed;
  char players[32];
  FormatPlayers(followed, players, sizeof players);
  WriteLogFormat("[Input] Combinations follow %s", players);
}

}  // namespace

void RunWorkerTick(WorkerState& state) {
  // First, so that its lines never fall between another operation's. Once the
  // checks have spoken, the filters are handed what they allow.
  if (ReportGameOnce()) HandOverCombination(state.settings);
  const uint64_t now = GetTickCount64();
  PadRead pads = ReadPads(state, now);
  const bool polled = pads.answered != 0;
  ForgetUnreadPads(state, pads);
  TrackFollowedPads(state, pads.answered);
  const bool menuOpen =
      RunMenu(state.menu, state.settings, MenuTick{pads.answered, pads.buttons}, &HandOverSettings);
  KeepMenuButtonsFromCombinations(pads.buttons);
  // With keys bound the menu and the panel are followed without a controller too.
  const Settings& settings = state.settings;
  const bool keysBound = AnySlotKeyBound(settings.slotKeys) && GameAccessAllowed();
  if (polled || keysBound) {
    MenuState menu;
    const bool menuRead = ReadMenuState(&menu);  // once per tick, for the mode and the panel
    const bool assignmentMode = menuRead && InAssignmentMode(menu);
    TrackAssignmentMode(state, assignmentMode);
    PublishPanel(state, UpdatePanelState(menuRead ? &menu : nullptr, assignmentMode,
                                         settings.skillPanelEnabled && GameAccessAllowed()));
    // The menu suspends the combinations and the slot keys while it is open.
    const bool combinationActed = !menuOpen && ActOnCombinations(state, pads, assignmentMode);
    if (keysBound && !menuOpen) ActOnSlotKeys(state, assignmentMode, combinationActed);
  }
  // An open menu shows the wheel where the held button would, as a preview.
  PublishWheel(state, menuOpen || AnyHeldButtonDown(pads), state.lastAssignmentMode);
  if (state.panelShown || state.wheelShown) LookAtPanelSwitch();
  RunDiagnostics(settings);
  if (!menuOpen) LookForSettingsChange(state, now);  // the menu's changes are not read back
}

void StartWorker(WorkerState& state) {
  LoadConfig(state.settings);
  HandOverSettings(state.settings);
}

DWORD WINAPI WorkerMain(LPVOID libraryModule) {
  MarkLogThreadPatient();
  WriteLogLine("[Core] Thread started");
  WorkerState state;
  StartWorker(state);
  WriteLogFormat("[Overlay] %s in config", state.settings.overlayEnabled ? "Enabled" : "Disabled");
  WriteLogLine("[Core] Initialization OK");
  // Late enough that a proxy which loaded the library to chain to it has
  // called its export by now.
  ReachDirectInputIfNotProvider(static_cast<HMODULE>(libraryModule));
  for (;;) {
    RunWorkerTick(state);
    WriteWaitingLogLines();  // the game's threads leave their waiting lines to us
    Sleep(kTickSleepMs);
  }
}

}  // namespace artwheel
