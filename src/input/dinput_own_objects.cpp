#include "input/dinput_own_objects.h"

#include <unknwn.h>

#include "input/dinput_devices.h"

namespace artwheel {
namespace {

using DirectInput8CreateFn = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, LPVOID*, IUnknown*);
using ReleaseFn = ULONG(STDMETHODCALLTYPE*)(void* self);

constexpr DWORD kDirectInputVersion = 0x0800;
constexpr int kReleaseSlot = 2;
constexpr int kCreateDeviceSlot = 3;

// Spelled out so that the library needs no DirectInput import library.
constexpr GUID kDirectInput8A = {
    0xBF798030, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
constexpr GUID kDirectInput8W = {
    0xBF798031, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
constexpr GUID kSysKeyboard = {
    0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr GUID kJoystick = {
    0x6F1D2B70, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

void** Table(void* object) { return *static_cast<void***>(object); }

void Release(void* object) { reinterpret_cast<ReleaseFn>(Table(object)[kReleaseSlot])(object); }

// A device made through the (redirected) CreateDevice gets its methods
// redirected by the detour; the device itself is not needed afterwards.
bool MakeDevice(void* directInput, const GUID& guid) {
  void* device = nullptr;
  const auto create = reinterpret_cast<CreateDeviceFn>(Table(directInput)[kCreateDeviceSlot]);
  if (FAILED(create(directInput, guid, &device, nullptr)) || device == nullptr) return false;
  Release(device);
  return true;
}

void* CreateObject(DirectInput8CreateFn create, const GUID& iid) {
  void* object = nullptr;
  const HRESULT result =
      create(GetModuleHandleW(nullptr), kDirectInputVersion, iid, &object, nullptr);
  return SUCCEEDED(result) && object != nullptr && Table(object) != nullptr ? object : nullptr;
}

}  // namespace

OwnObjectsOutcome RedirectThroughOwnObjects(void* directInput8Create) {
  OwnObjectsOutcome outcome;
  const auto create = reinterpret_cast<DirectInput8CreateFn>(directInput8Create);
  void* const objects[2] = {CreateObject(create, kDirectInput8A),
                            CreateObject(create, kDirectInput8W)};
  PatchStatus* const statuses[2] = {&outcome.ansi, &outcome.wide};
  const InterfaceTable tables[2] = {InterfaceTable::kFirst, InterfaceTable::kWide};
  for (int i = 0; i < 2; ++i) {
    if (objects[i] == nullptr) continue;
    outcome.created = true;
    *statuses[i] = RedirectInterfaceTable(objects[i], tables[i]);
    // The system keyboard always exists; a joystick covers a provider whose
    // joysticks have a table of their own.
    outcome.keyboardHooked = MakeDevice(objects[i], kSysKeyboard) || outcome.keyboardHooked;
    outcome.joystickHooked = MakeDevice(objects[i], kJoystick) || outcome.joystickHooked;
    Release(objects[i]);
  }
  return outcome;
}

}  // namespace artwheel
