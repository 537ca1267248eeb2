// A stand-in XInput library: answers XInputGetState from the simulator's
// scripted pads, and says "not connected" in any other process.
#include <windows.h>
#include <xinput.h>

#include "pads.h"

namespace {

SimPadState* PadTable() {
  static SimPadState* table = reinterpret_cast<SimPadState*>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(nullptr), kSimPadTableExport)));
  return table;
}

}  // namespace

extern "C" DWORD WINAPI XInputGetState(DWORD userIndex, XINPUT_STATE* state) {
  if (state == nullptr || userIndex >= XUSER_MAX_COUNT) return ERROR_BAD_ARGUMENTS;
  SimPadState* pads = PadTable();
  if (pads == nullptr || userIndex >= kSimPadCount) return ERROR_DEVICE_NOT_CONNECTED;
  // Counted once the state is read: a count that moves twice after a change
  // means a reader began after it.
  struct CountRead {
    volatile LONG* reads;
    ~CountRead() { InterlockedIncrement(reads); }
  } counted{&pads[userIndex].reads};
  if (!pads[userIndex].connected) return ERROR_DEVICE_NOT_CONNECTED;
  ZeroMemory(state, sizeof *state);
  state->dwPacketNumber = static_cast<DWORD>(pads[userIndex].packet);
  state->Gamepad.wButtons = static_cast<WORD>(pads[userIndex].buttons);
  return ERROR_SUCCESS;
}

extern "C" DWORD WINAPI XInputSetState(DWORD userIndex, XINPUT_VIBRATION* /*vibration*/) {
  SimPadState* pads = PadTable();
  if (pads == nullptr || userIndex >= kSimPadCount || !pads[userIndex].connected) {
    return ERROR_DEVICE_NOT_CONNECTED;
  }
  return ERROR_SUCCESS;
}

extern "C" DWORD WINAPI XInputGetCapabilities(DWORD userIndex, DWORD /*flags*/,
                                              XINPUT_CAPABILITIES* capabilities) {
  SimPadState* pads = PadTable();
  if (capabilities == nullptr || pads == nullptr || userIndex >= kSimPadCount ||
      !pads[userIndex].connected) {
    return ERROR_DEVICE_NOT_CONNECTED;
  }
  ZeroMemory(capabilities, sizeof *capabilities);
  capabilities->Type = XINPUT_DEVTYPE_GAMEPAD;
  capabilities->SubType = XINPUT_DEVSUBTYPE_GAMEPAD;
  return ERROR_SUCCESS;
}

extern "C" void WINAPI XInputEnable(BOOL /*enable*/) {}
