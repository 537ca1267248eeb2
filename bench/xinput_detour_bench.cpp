// What the game pays per XInputGetState call through the filter, against a
// direct call of the same XInput function. Run: scripts/bench.sh
#include <windows.h>
#include <xinput.h>

#include <algorithm>
#include <cstdio>

#include "input/combo.h"
#include "input/xinput_hooks.h"
#include "input/xinput_libraries.h"

namespace {

volatile WORD scriptedButtons = 0;

DWORD WINAPI PadStandIn(DWORD index, XINPUT_STATE* state) {
  if (index != 0) return ERROR_DEVICE_NOT_CONNECTED;
  state->dwPacketNumber = 1;
  state->Gamepad.wButtons = scriptedButtons;
  return ERROR_SUCCESS;
}

using GetStateFn = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);

double NanosecondsPerCall(GetStateFn target, int calls) {
  GetStateFn volatile function = target;  // keeps the call indirect, like an import
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  XINPUT_STATE state = {};
  DWORD sink = 0;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < calls; ++i) sink += function(0, &state) + state.Gamepad.wButtons;
  QueryPerformanceCounter(&end);
  if (sink == 0xFFFFFFFF) std::puts("");
  return 1e9 * static_cast<double>(end.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart) / calls;
}

double Median(GetStateFn function, int calls) {
  double runs[9];
  for (double& run : runs) run = NanosecondsPerCall(function, calls);
  std::sort(runs, runs + 9);
  return runs[4];
}

}  // namespace

int main() {
  artwheel::xinputGetStateHook.SetOriginal(reinterpret_cast<void*>(&PadStandIn));
  constexpr int kCalls = 5'000'000;
  std::printf("XInputGetState, median of 9 runs of %d calls\n", kCalls);
  const double direct = Median(&PadStandIn, kCalls);
  const double idle = Median(&artwheel::XInputGetStateDetour, kCalls);
  std::printf("  direct call                    %6.2f ns\n", direct);
  std::printf("  through the filter, idle       %6.2f ns  (+%.2f ns)\n", idle, idle - direct);
  scriptedButtons = 0x1002;  // D-pad Down + A held: arms and hides on every call
  const double held = Median(&artwheel::XInputGetStateDetour, kCalls);
  std::printf("  through the filter, combo held %6.2f ns  (+%.2f ns)\n", held, held - direct);
  return 0;
}
