#pragma once
#include <windows.h>

#include <cstdint>

#include "app/menu_session.h"
#include "app/settings.h"
#include "input/combo.h"
#include "input/pad_follow.h"
#include "input/slot_keys.h"

namespace artwheel {

// The library's one thread: loads the configuration, then polls the followed
// controllers every 16 ms for the life of the process.
DWORD WINAPI WorkerMain(LPVOID libraryModule);

// The loop's locals, alive for the thread's life, and the settings it loaded.
struct WorkerState {
  Settings settings;
  int lastSlots[kPadCount] = {kNoSlot, kNoSlot, kNoSlot, kNoSlot};  // per XInput index
  PadWatches padWatches;
  PadSet followedPads = 0;  // as last logged
  bool lastAssignmentMode = false;
  uint64_t lastInstallerRun = 0;
  uint64_t lastXInputMissingLog = 0;
  uint64_t lastSettingsLook = 0;
  bool xinputMissingLogged = false;
  SlotKeyTracker slotKeys;
  MenuSession menu;
  // The panel and the wheel as last told to the overlay.
  bool panelShown = false;
  uint32_t equippedArtId = 0;
  bool wheelShown = false;
  uint32_t wheelArtIds[kSlotCount] = {};
  uint32_t wheelEquippedArtId = 0;
};

// Loads the settings into the state and hands each subsystem what it needs.
void StartWorker(WorkerState& state);

// One pass of the loop without its sleep (the benchmark runs it alone).
void RunWorkerTick(WorkerState& state);

}  // namespace artwheel
