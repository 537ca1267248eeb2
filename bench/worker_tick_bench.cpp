// The worker's tick with four keyboard keys bound against none, with
// ApplyChanges on (a look at artwheel.ini about once a second, and one in
// every tick for its own price), and with the panel shown (its switch in the
// file looked at in every tick; the file's stamp is read only after the
// system signalled a change in its folder), in a process laid out as the game
// with controller 0 connected: the median of batches of ticks, the variants
// taking turns so that the installers' once-a-second import walks and the
// machine's other work fall on all of them alike.
// Run: scripts/bench.sh
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "app/settings.h"
#include "app/worker.h"
#include "desktop.h"
#include "game_world.h"
#include "input/keyboard.h"
#include "input/slot_keys.h"
#include "input/xinput_hooks.h"
#include "pads.h"

extern "C" {
__declspec(dllexport) SimPadState SimPadTable[kSimPadCount];
}

namespace {

constexpr int kBatches = 200;
constexpr int kTicksPerBatch = 500;
constexpr int kSettleTicks = 20;

double NowNs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1e9 * double(counter.QuadPart) / double(frequency.QuadPart);
}

void BindKeys(artwheel::Settings& settings, bool bound) {
  const char* names[artwheel::kSlotCount] = {"F1", "Shift+Q", "Ctrl+7", "Home"};
  for (int slot = 0; slot < artwheel::kSlotCount; ++slot) {
    settings.slotKeys[slot] = {};
    if (bound) artwheel::ParseKeyName(names[slot], &settings.slotKeys[slot]);
  }
}

// kPanelSwitch: the panel shows, so the tick looks at [SkillPanel] Enable in
// the file as well (a stamp read only after the folder's watch saw a change).
enum class Look { kOff, kOnceASecond, kEveryTick, kPanelSwitch };

struct Variant {
  const char* what;
  bool keysBound;
  bool gameInFront;
  Look look;
  double batchNs[kBatches];
  // Auto, with the game's filter noting a read of controller 0 before each tick.
  bool autoWithGameReads = false;
};

// Another program's window (other_window.exe beside the benchmark, which ends
// with this process), started once: switching the front between two shown
// windows is quick, where hiding one made Wine wait up to a second for a
// window manager that the test display does not have.
HWND StartOtherWindow() {
  void* process = nullptr;
  uint32_t processId = 0;
  if (!sim::StartOtherWindowProgram(&process, &processId)) return nullptr;
  CloseHandle(process);
  for (int attempt = 0; attempt < 500; ++attempt) {
    if (HWND window = FindWindowW(L"STATIC", L"another program")) return window;
    Sleep(10);
  }
  return nullptr;
}

bool PutInFront(HWND game, HWND other, bool inFront) {
  SetForegroundWindow(inFront ? game : other);
  for (int attempt = 0; attempt < 200; ++attempt) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    if (artwheel::IsOwnProcessInForeground() == inFront) return true;
    Sleep(5);
  }
  return false;
}

}  // namespace

int main() {
  if (!sim::CreateGameWorld()) return 1;
  SimPadTable[0].connected = 1;
  artwheel::LocateSettingsFile(GetModuleHandleA(nullptr));
  HWND window = CreateWindowExW(0, L"STATIC", L"worker tick", WS_POPUP | WS_VISIBLE, 0, 0, 16, 16,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND other = StartOtherWindow();
  if (other == nullptr) {
    std::printf("could not start other_window.exe beside the benchmark\n");
    return 3;
  }
  // An unchanged file beside the benchmark, read once: each look finds its stamp unchanged.
  WritePrivateProfileStringA("General", "ApplyChanges", "1", artwheel::ConfigIniPath());
  artwheel::WorkerState state;
  state.settings.applyChanges = true;
  artwheel::ReloadConfigIfChanged(state.settings, [](const artwheel::Settings&) {});
  for (int i = 0; i < 100; ++i) artwheel::RunWorkerTick(state);  // XInput found, hooks installed

  static Variant variants[] = {
      {"no keys bound", false, true, Look::kOff, {}},
      {"four keys bound, game in front", true, true, Look::kOff, {}},
      {"four keys bound, another window in front", true, false, Look::kOff, {}},
      {"no keys bound, ApplyChanges (a look a second)", false, true, Look::kOnceASecond, {}},
      {"no keys bound, a look in every tick", false, true, Look::kEveryTick, {}},
      {"no keys bound, panel shown (its switch looked at)", false, true, Look::kPanelSwitch, {}},
      {"no keys bound, Controller=Auto, the game reading 0", false, true, Look::kOff, {}, true}};
  for (int batch = 0; batch < kBatches; ++batch) {
    for (Variant& variant : variants) {
      if (!PutInFront(window, other, variant.gameInFront)) {
        std::printf("could not put the game %s\n", variant.gameInFront ? "in front" : "behind");
        return 2;
      }
      BindKeys(state.settings, variant.keysBound);
      state.settings.applyChanges =
          variant.look == Look::kOnceASecond || variant.look == Look::kEveryTick;
      const bool everyTick = variant.look == Look::kEveryTick;
      const bool panelSwitch = variant.look == Look::kPanelSwitch;
      const bool gameReads = variant.autoWithGameReads;
      state.settings.controller =
          gameReads ? artwheel::PadChoice::kAuto : artwheel::PadChoice::kPlayer1;
      // Untimed: the window system settles after the game comes to the front.
      for (int tick = 0; tick < kSettleTicks; ++tick) {
        if (gameReads) artwheel::NoteGameReadOf(artwheel::gameReadNotes, 0);
        artwheel::RunWorkerTick(state);
      }
      const double start = NowNs();
      for (int tick = 0; tick < kTicksPerBatch; ++tick) {
        if (everyTick) state.lastSettingsLook = 0;
        if (gameReads) artwheel::NoteGameReadOf(artwheel::gameReadNotes, 0);
        artwheel::RunWorkerTick(state);
        if (panelSwitch) artwheel::SkillPanelEnabledInFile();
      }
      variant.batchNs[batch] = (NowNs() - start) / kTicksPerBatch;
    }
  }
  std::printf("Worker tick, median of %d batches of %d ticks (controller 0 connected):\n", kBatches,
              kTicksPerBatch);
  double none = 0;
  for (Variant& variant : variants) {
    std::sort(variant.batchNs, variant.batchNs + kBatches);
    const double median = variant.batchNs[kBatches / 2];
    if (&variant == &variants[0]) none = median;
    // A tick every 16 ms: the worker's share of one core, the sleep's own cost aside.
    std::printf("  %-52s %9.0f ns  (%+.0f ns)  %.3f %% of a core\n", variant.what, median,
                median - none, median / 16e6 * 100);
  }
  return 0;
}
