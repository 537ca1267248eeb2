#include "input/dinput_devices.h"

#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>

#include <atomic>
#include <cstdint>

#include "base/log.h"
#include "base/patch.h"
#include "input/combo_guard.h"
#include "input/device_filter.h"
#include "input/menu_gate.h"

namespace artwheel {

namespace {

constexpr int kCreateDeviceSlot = 3;

using GetDeviceStateFn = HRESULT(STDMETHODCALLTYPE*)(void* self, DWORD size, void* data);
using GetDeviceDataFn = HRESULT(STDMETHODCALLTYPE*)(void* self, DWORD recordSize, void* records,
                                                    DWORD* count, DWORD flags);
using SetDataFormatFn = HRESULT(STDMETHODCALLTYPE*)(void* self, const DIDATAFORMAT* format);

HRESULT STDMETHODCALLTYPE GetDeviceStateDetour(void* self, DWORD size, void* data);
HRESULT STDMETHODCALLTYPE GetDeviceDataDetour(void* self, DWORD recordSize, void* records,
                                              DWORD* count, DWORD flags);
HRESULT STDMETHODCALLTYPE SetDataFormatDetour(void* self, const DIDATAFORMAT* format);

// A provider may hand out devices of different implementations (one table
// each); calling one implementation's method with another's object would
// crash the game, so each device hook keeps an original per table and its
// detour asks for the one of the calling device's table. The device hooks sum
// up their own lines.
constexpr int kMaxDeviceTables = 8;
constexpr HookLines kSummedUp{"", ""};
Hook deviceHooks[] = {
    {"IDirectInputDevice8::GetDeviceState", TableKind::kMethod, 9, &GetDeviceStateDetour,
     kMaxDeviceTables, kSummedUp},
    {"IDirectInputDevice8::GetDeviceData", TableKind::kMethod, 10, &GetDeviceDataDetour,
     kMaxDeviceTables, kSummedUp},
    {"IDirectInputDevice8::SetDataFormat", TableKind::kMethod, 11, &SetDataFormatDetour,
     kMaxDeviceTables, kSummedUp},
};
enum Method { kGetDeviceState, kGetDeviceData, kSetDataFormat };
std::atomic<bool> deviceHooksLogged{false};

// An ANSI and a wide interface have a table each, and each detoured call must
// reach the original of the table it came through: record 0 is the first
// interface's (the export's or our own ANSI object's), record 1 our own wide
// object's, each filled once per process.
Hook createDeviceHook{"IDirectInput8::CreateDevice",
                      TableKind::kMethod,
                      kCreateDeviceSlot,
                      &CreateDeviceDetour,
                      2,
                      HookLines{"[Input] Hooked DirectInput8 CreateDevice",
                                "[Input] Failed to hook DirectInput8 CreateDevice"}};

bool Suppressing() { return IsSuppressing(GetTickCount64()); }

// The range the game gave an axis (DirectInput's 0 to 65535 unless it set
// one), asked of the device itself: only while the settings menu is open.
bool DeviceAxisRange(void* device, uint32_t offset, int32_t* low, int32_t* high) {
  DIPROPRANGE range = {};
  range.diph.dwSize = sizeof range;
  range.diph.dwHeaderSize = sizeof range.diph;
  range.diph.dwObj = offset;
  range.diph.dwHow = DIPH_BYOFFSET;
  auto* input = static_cast<IDirectInputDevice8W*>(device);
  if (FAILED(input->GetProperty(DIPROP_RANGE, &range.diph)) || range.lMin > range.lMax)
    return false;
  *low = range.lMin;
  *high = range.lMax;
  return true;
}

HRESULT STDMETHODCALLTYPE GetDeviceStateDetour(void* self, DWORD size, void* data) {
  const auto original = deviceHooks[kGetDeviceState].Original<GetDeviceStateFn>(self);
  if (original == nullptr) return E_FAIL;
  const HRESULT result = original(self, size, data);
  if (FAILED(result)) return result;
  auto* bytes = static_cast<uint8_t*>(data);
  if (size == kKeyboardStateSize) {
    FilterMenuKeyboardState(menuGate, bytes, size);
    FilterDeviceState(deviceFormats, bytes, size, Suppressing(), CombinationDeviceControl());
  } else {
    const bool menuHolds = MenuHoldsJoystick(menuGate);
    FilterDeviceState(deviceFormats, bytes, size, Suppressing() || menuHolds,
                      CombinationDeviceControl());
    if (menuHolds) CentreAxes(deviceFormats, bytes, size, &DeviceAxisRange, self);
  }
  return result;
}

HRESULT STDMETHODCALLTYPE GetDeviceDataDetour(void* self, DWORD recordSize, void* records,
                                              DWORD* count, DWORD flags) {
  const auto original = deviceHooks[kGetDeviceData].Original<GetDeviceDataFn>(self);
  if (original == nullptr) return E_FAIL;
  const HRESULT result = original(self, recordSize, records, count, flags);
  if (FAILED(result)) return result;
  static_assert(sizeof(DWORD) == sizeof(uint32_t), "DirectInput counts are 32-bit");
  auto* bytes = static_cast<uint8_t*>(records);
  auto* events = reinterpret_cast<uint32_t*>(count);
  if (IsKeyboardDevice(keyboardDevices, self)) {
    FilterMenuKeyboardEvents(menuGate, bytes, recordSize, events);
  } else if (MenuHoldsJoystick(menuGate)) {
    FilterHeldJoystickEvents(deviceFormats, bytes, recordSize, events);
    return result;
  }
  FilterDeviceEvents(deviceFormats, bytes, recordSize, events, Suppressing(),
                     CombinationDeviceControl());
  return result;
}

HRESULT STDMETHODCALLTYPE SetDataFormatDetour(void* self, const DIDATAFORMAT* format) {
  const auto original = deviceHooks[kSetDataFormat].Original<SetDataFormatFn>(self);
  if (original == nullptr) return E_FAIL;
  const HRESULT result = original(self, format);
  if (FAILED(result) || format == nullptr) return result;
  NoteDeviceFormat(keyboardDevices, self, format->dwDataSize);
  if (format->rgodf == nullptr) return result;
  RecordDataFormat(deviceFormats, format->dwDataSize,
                   reinterpret_cast<const uint8_t*>(format->rgodf), format->dwNumObjs);
  return result;
}

}  // namespace

bool HookDeviceMethods(void* device) {
  void** table = *static_cast<void***>(device);
  int redirected = 0;
  for (Hook& hook : deviceHooks) {
    if (table == nullptr) break;
    if (table[hook.slot()] == nullptr) continue;
    if (InPlace(hook.Redirect(table))) ++redirected;
  }
  if (redirected == 0) {
    WriteLogLine("[Input] Failed to hook DirectInput device");
    return false;
  }
  if (!deviceHooksLogged.exchange(true)) WriteLogLine("[Input] DirectInput device hooks installed");
  return true;
}

PatchStatus RedirectInterfaceTable(void* directInput, InterfaceTable which) {
  void** table = *static_cast<void***>(directInput);
  if (table == nullptr || table[kCreateDeviceSlot] == nullptr) return PatchStatus::kRefused;
  return createDeviceHook.RedirectOnce(table, static_cast<int>(which));
}

void RedirectCreateDevice(void* directInput) {
  ReportRedirect(createDeviceHook, RedirectInterfaceTable(directInput, InterfaceTable::kFirst));
}

bool CreateDeviceRedirected() { return createDeviceHook.Table(0) != nullptr; }

HRESULT STDMETHODCALLTYPE CreateDeviceDetour(void* self, REFGUID guid, void** device,
                                             IUnknown* outer) {
  const auto original = createDeviceHook.Original<CreateDeviceFn>(self);
  if (original == nullptr) return E_FAIL;
  const HRESULT result = original(self, guid, device, outer);
  if (SUCCEEDED(result) && device != nullptr && *device != nullptr) HookDeviceMethods(*device);
  return result;
}

}  // namespace artwheel
