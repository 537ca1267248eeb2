#include "core/worker.h"

#include <cstdint>

#include "core/config.h"
#include "core/log.h"
#include "core/settings.h"
#include "diagnostics/hud_probe.h"
#include "diagnostics/uiscan.h"
#include "input/combo_guard.h"
#include "input/xinput_hooks.h"
#include "input/xinput_libraries.h"
#include "slots/assign.h"
#include "slots/equip.h"
#include "slots/game_access.h"
#include "slots/panel_state.h"

namespace artwheel {
namespace {

constexpr DWORD kTickSleepMs = 16;
constexpr uint64_t kInstallerPeriodMs = 1000;
// Without any XInput library the discovery fails every tick; one line every
// few seconds says as much as sixty a second.
constexpr uint64_t kXInputMissingLogPeriodMs = 5000;

struct WorkerState {
  int lastSlot = kNoSlot;
  bool lastAssignmentMode = false;
  uint64_t lastInstallerRun = 0;
  uint64_t lastXInputMissingLog = 0;
  bool xinputMissingLogged = false;
};

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

void ActOnCombination(WorkerState& state, uint16_t buttons, bool assignmentMode) {
  const int slot = DecodeCombination(buttons);
  if (slot != kNoSlot) ArmComboGuard();
  if (slot == state.lastSlot) return;
  state.lastSlot = slot;
  if (slot == kNoSlot) return;
  if (assignmentMode) {
    AssignSelectedArt(slot);
  } else {
    EquipFromSlot(slot);
  }
}

void RunDiagnostics() {
  if (settings.uiScanEnabled) UIScanTick();
  if (settings.hudProbeEnabled) HudProbeTick();
}

void RunTick(WorkerState& state) {
  const uint64_t now = GetTickCount64();
  if (!KeepXInputReady(state, now)) {
    state.lastSlot = kNoSlot;
    RunDiagnostics();
    return;
  }
  XINPUT_STATE pad = {};
  if (realXInputGetState.load(std::memory_order_acquire)(0, &pad) != ERROR_SUCCESS) {
    state.lastSlot = kNoSlot;
    RunDiagnostics();
    return;
  }
  const uint16_t buttons = pad.Gamepad.wButtons;
  ReleaseComboGuardIfClear(comboGuard, buttons);
  const bool assignmentMode = ReadAssignmentMode();
  TrackAssignmentMode(state, assignmentMode);
  UpdatePanelState(assignmentMode);
  ActOnCombination(state, buttons, assignmentMode);
  RunDiagnostics();
}

}  // namespace

DWORD WINAPI WorkerMain(LPVOID libraryModule) {
  SetLibraryModule(static_cast<HMODULE>(libraryModule));
  MarkLogThreadPatient();
  WriteLogLine("[Core] Thread started");
  LoadConfig();
  WriteLogFormat("[Overlay] %s in config", settings.overlayEnabled ? "Enabled" : "Disabled");
  WriteLogLine("[Core] Initialization OK");
  WorkerState state;
  for (;;) {
    RunTick(state);
    Sleep(kTickSleepMs);
  }
}

}  // namespace artwheel
