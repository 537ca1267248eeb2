#include "core/worker.h"

#include <cstdint>

#include "core/config.h"
#include "core/log.h"
#include "core/settings.h"
#include "diagnostics/hud_probe.h"
#include "diagnostics/uiscan.h"
#include "input/combo_guard.h"
#include "input/keyboard.h"
#include "input/xinput_hooks.h"
#include "input/xinput_libraries.h"
#include "slots/assign.h"
#include "slots/equip.h"
#include "slots/game_access.h"
#include "slots/game_layout.h"
#include "slots/panel_state.h"

namespace artwheel {
namespace {

constexpr DWORD kTickSleepMs = 16;
constexpr uint64_t kInstallerPeriodMs = 1000;
// Without any XInput library the discovery fails every tick; one line every
// few seconds says as much as sixty a second.
constexpr uint64_t kXInputMissingLogPeriodMs = 5000;

void RunImportInstallers() {
  InstallGetProcAddressImportHooks();
  InstallXInputImportHooks();
}

// Returns false while no XInput library is known.
bool KeepXInputReady(WorkerState& state, uint64_t now) {
  if (realXInputGetState.load(std::memory_order_acquire) != nullptr) {
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

void ActOnSlot(int slot, bool assignmentMode, SlotTrigger trigger) {
  if (assignmentMode) {
    AssignSelectedArt(slot, trigger);
  } else {
    EquipFromSlot(slot, trigger);
  }
}

// True when the combination acted in this tick.
bool ActOnCombination(WorkerState& state, uint16_t buttons, bool assignmentMode) {
  const int slot = DecodeCombination(buttons);
  if (slot != kNoSlot) ArmComboGuard();
  if (slot == state.lastSlot) return false;
  state.lastSlot = slot;
  if (slot == kNoSlot) return false;
  ActOnSlot(slot, assignmentMode, SlotTrigger::kCombination);
  return true;
}

// One slot action per tick: a key pressed in the tick in which a combination
// acted has been seen and does not act later.
void ActOnSlotKeys(WorkerState& state, bool assignmentMode, bool combinationActed) {
  const int slot = PollSlotKeys(state.slotKeys);
  if (slot == kNoSlot || combinationActed) return;
  WriteLogFormat("[Input] Key %s pressed for slot %d (%s)", settings.slotKeys[slot].name, slot,
                 SlotInfo[slot].shortLabel);
  ActOnSlot(slot, assignmentMode, SlotTrigger::kKey);
}

void RunDiagnostics() {
  if (settings.uiScanEnabled) UIScanTick();
  if (settings.hudProbeEnabled) HudProbeTick();
}

bool PollPad(WorkerState& state, uint64_t now, uint16_t* buttons) {
  if (!KeepXInputReady(state, now)) return false;
  XINPUT_STATE pad = {};
  if (realXInputGetState.load(std::memory_order_acquire)(0, &pad) != ERROR_SUCCESS) return false;
  *buttons = pad.Gamepad.wButtons;
  return true;
}

}  // namespace

void RunWorkerTick(WorkerState& state) {
  const uint64_t now = GetTickCount64();
  uint16_t buttons = 0;
  const bool polled = PollPad(state, now, &buttons);
  if (!polled) state.lastSlot = kNoSlot;
  // With keys bound the menu and the panel are followed without a controller too.
  const bool keysBound = AnySlotKeyBound(settings.slotKeys);
  if (polled || keysBound) {
    if (polled) ReleaseComboGuardIfClear(comboGuard, buttons);
    const bool assignmentMode = ReadAssignmentMode();
    TrackAssignmentMode(state, assignmentMode);
    UpdatePanelState(assignmentMode);
    const bool combinationActed = polled && ActOnCombination(state, buttons, assignmentMode);
    if (keysBound) ActOnSlotKeys(state, assignmentMode, combinationActed);
  }
  RunDiagnostics();
}

DWORD WINAPI WorkerMain(LPVOID libraryModule) {
  SetLibraryModule(static_cast<HMODULE>(libraryModule));
  MarkLogThreadPatient();
  WriteLogLine("[Core] Thread started");
  LoadConfig();
  WriteLogFormat("[Overlay] %s in config", settings.overlayEnabled ? "Enabled" : "Disabled");
  WriteLogLine("[Core] Initialization OK");
  WorkerState state;
  for (;;) {
    RunWorkerTick(state);
    Sleep(kTickSleepMs);
  }
}

}  // namespace artwheel
