// A stand-in for another dinput8 proxy that artwheel can chain to. It hands
// out a scripted IDirectInput8 and records every call in provider_calls.txt in
// the current folder. provider.ini beside the library scripts it:
//   [Provider]
//   Result=0x80070057   ; what DirectInput8Create returns (default 0)
#include <unknwn.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "device_script.h"

#ifdef SIM_STAND_IN_LOADER
#include "stand_in_loader.h"
#define SIM_PROVIDER_EXPORT ProvideDirectInput8Create
#else
#define SIM_PROVIDER_EXPORT DirectInput8Create
#endif

namespace {

HMODULE thisLibrary = nullptr;

void Record(const char* text) {
  std::FILE* file = std::fopen("provider_calls.txt", "ab");
  if (file == nullptr) return;
  std::fprintf(file, "%s\n", text);
  std::fclose(file);
}

HRESULT ScriptedResult() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(thisLibrary, path, sizeof path);
  char* slash = length > 0 ? std::strrchr(path, '\\') : nullptr;
  if (slash == nullptr) return S_OK;
  std::snprintf(slash + 1, sizeof path - static_cast<size_t>(slash + 1 - path), "provider.ini");
  char value[32] = {};
  GetPrivateProfileStringA("Provider", "Result", "0", value, sizeof value, path);
  return static_cast<HRESULT>(std::strtoul(value, nullptr, 0));
}

struct FakeDirectInput {
  const void* const* vtable;
};

SimDeviceScriptData* Script() {
  static auto* script = reinterpret_cast<SimDeviceScriptData*>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(nullptr), kSimDeviceScriptExport)));
  return script;
}

// Two device implementations with their own method tables: a joystick, and a
// second kind (for GUID_SysKeyboard) that marks byte 1 of its state with 0x5A
// so that a read shows which implementation answered.
struct FakeDevice {
  const void* const* vtable;
  int kind;
};

HRESULT STDMETHODCALLTYPE DeviceQueryInterface(FakeDevice*, REFIID, void** out) {
  if (out != nullptr) *out = nullptr;
  return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE DeviceAddRef(FakeDevice*) { return 1; }
ULONG STDMETHODCALLTYPE DeviceRelease(FakeDevice*) { return 1; }
HRESULT STDMETHODCALLTYPE DeviceOk(FakeDevice*) { return S_OK; }
HRESULT STDMETHODCALLTYPE DeviceNotImplemented(FakeDevice*) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE DeviceSetCooperativeLevel(FakeDevice*, HWND, DWORD) { return S_OK; }
HRESULT STDMETHODCALLTYPE DeviceSetProperty(FakeDevice*, REFGUID, const void*) { return S_OK; }

// DIPROP_RANGE of the eight axes of DIJOYSTATE, asked by offset: DirectInput's
// default 0 to 65535. Any other property or object: not supported.
HRESULT STDMETHODCALLTYPE DeviceGetProperty(FakeDevice*, REFGUID property, DWORD* header) {
  constexpr uintptr_t kRangeProperty = 4;  // DIPROP_RANGE
  constexpr DWORD kByOffset = 1;           // DIPH_BYOFFSET
  if (reinterpret_cast<uintptr_t>(&property) != kRangeProperty || header == nullptr ||
      header[0] < 24 || header[3] != kByOffset || header[2] >= 0x20 || header[2] % 4 != 0) {
    return E_NOTIMPL;
  }
  header[4] = 0;      // lMin
  header[5] = 65535;  // lMax
  return S_OK;
}
HRESULT STDMETHODCALLTYPE DeviceSetDataFormat(FakeDevice*, const void*) {
#ifdef SIM_STAND_IN_LOADER
  LoaderFormatSet();
#endif
  return S_OK;
}

HRESULT CopyState(DWORD size, void* data) {
  SimDeviceScriptData* script = Script();
  if (script == nullptr || data == nullptr || size > kSimDeviceStateSize) return E_INVALIDARG;
  std::memcpy(data, script->state, size);
  return S_OK;
}

// Each implementation refuses the other's objects, as a real one would crash on them.
HRESULT STDMETHODCALLTYPE JoystickGetState(FakeDevice* self, DWORD size, void* data) {
  if (self->kind != 0) return E_UNEXPECTED;
  return CopyState(size, data);
}

HRESULT STDMETHODCALLTYPE SecondKindGetState(FakeDevice* self, DWORD size, void* data) {
  if (self->kind != 1) return E_UNEXPECTED;
  const HRESULT result = CopyState(size, data);
  if (SUCCEEDED(result) && size > 1) static_cast<unsigned char*>(data)[1] = 0x5A;
  return result;
}

// Writes the queued events as records of the caller's size, oldest first.
HRESULT STDMETHODCALLTYPE DeviceGetData(FakeDevice*, DWORD recordSize, void* records, DWORD* count,
                                        DWORD) {
  SimDeviceScriptData* script = Script();
  if (script == nullptr || count == nullptr || recordSize < 16) return E_INVALIDARG;
  DWORD n = script->eventCount < *count ? script->eventCount : *count;
  if (records == nullptr) n = 0;
  for (DWORD i = 0; i < n; ++i) {
    unsigned char* record =
        static_cast<unsigned char*>(records) + static_cast<size_t>(i) * recordSize;
    std::memset(record, 0, recordSize);
    std::memcpy(record, &script->events[i].offset, 4);
    std::memcpy(record + 4, &script->events[i].data, 4);
    std::memcpy(record + 8, &i, 4);   // time stamp
    std::memcpy(record + 12, &i, 4);  // sequence
  }
  std::memmove(script->events, script->events + n,
               (script->eventCount - n) * sizeof(SimDeviceEvent));
  script->eventCount -= n;
  *count = n;
  return S_OK;
}

template <typename F>
const void* Method(F f) {
  return reinterpret_cast<const void*>(f);
}

#define DEVICE_TABLE(getState)                                                                    \
  {                                                                                               \
    Method(&DeviceQueryInterface), Method(&DeviceAddRef), Method(&DeviceRelease),                 \
        Method(&DeviceNotImplemented) /*GetCapabilities*/, Method(&DeviceNotImplemented),         \
        Method(&DeviceGetProperty), Method(&DeviceSetProperty), Method(&DeviceOk) /*Acquire*/,    \
        Method(&DeviceOk) /*Unacquire*/, Method(getState), Method(&DeviceGetData),                \
        Method(&DeviceSetDataFormat), Method(&DeviceNotImplemented),                              \
        Method(&DeviceSetCooperativeLevel), Method(&DeviceNotImplemented),                        \
        Method(&DeviceNotImplemented), Method(&DeviceNotImplemented),                             \
        Method(&DeviceNotImplemented), Method(&DeviceNotImplemented),                             \
        Method(&DeviceNotImplemented), Method(&DeviceNotImplemented),                             \
        Method(&DeviceNotImplemented), Method(&DeviceNotImplemented),                             \
        Method(&DeviceNotImplemented), Method(&DeviceNotImplemented), Method(&DeviceOk) /*Poll*/, \
        Method(&DeviceNotImplemented), Method(&DeviceNotImplemented),                             \
        Method(&DeviceNotImplemented), Method(&DeviceNotImplemented),                             \
        Method(&DeviceNotImplemented), Method(&DeviceNotImplemented)                              \
  }

const void* const kJoystickTable[] = DEVICE_TABLE(&JoystickGetState);
const void* const kSecondKindTable[] = DEVICE_TABLE(&SecondKindGetState);
FakeDevice joysticks[8] = {};
FakeDevice secondKind[8] = {};
int joystickCount = 0;
int secondKindCount = 0;

// {6F1D2B61-D5A0-11CF-BFC7-444553540000}: GUID_SysKeyboard
bool IsKeyboardGuid(REFGUID guid) {
  return guid.Data1 == 0x6F1D2B61 && guid.Data2 == 0xD5A0 && guid.Data3 == 0x11CF;
}

HRESULT STDMETHODCALLTYPE QueryInterface(FakeDirectInput*, REFIID, void** out) {
  if (out != nullptr) *out = nullptr;
  return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE AddRef(FakeDirectInput*) { return 1; }
ULONG STDMETHODCALLTYPE Release(FakeDirectInput*) { return 1; }
HRESULT STDMETHODCALLTYPE CreateDevice(FakeDirectInput*, REFGUID guid, void** device, IUnknown*) {
  Record("CreateDevice");
  if (device == nullptr) return E_POINTER;
  FakeDevice* made = nullptr;
  if (IsKeyboardGuid(guid)) {
    if (secondKindCount < 8) made = &secondKind[secondKindCount++];
    if (made != nullptr) *made = FakeDevice{kSecondKindTable, 1};
  } else {
    if (joystickCount < 8) made = &joysticks[joystickCount++];
    if (made != nullptr) *made = FakeDevice{kJoystickTable, 0};
  }
  *device = made;
  return made != nullptr ? S_OK : E_OUTOFMEMORY;
}
HRESULT STDMETHODCALLTYPE NotImplemented(FakeDirectInput*) { return E_NOTIMPL; }

const void* const kDirectInputTable[] = {
    reinterpret_cast<const void*>(&QueryInterface), reinterpret_cast<const void*>(&AddRef),
    reinterpret_cast<const void*>(&Release),        reinterpret_cast<const void*>(&CreateDevice),
    reinterpret_cast<const void*>(&NotImplemented), reinterpret_cast<const void*>(&NotImplemented),
    reinterpret_cast<const void*>(&NotImplemented), reinterpret_cast<const void*>(&NotImplemented),
    reinterpret_cast<const void*>(&NotImplemented), reinterpret_cast<const void*>(&NotImplemented),
    reinterpret_cast<const void*>(&NotImplemented)};

FakeDirectInput directInput = {kDirectInputTable};

}  // namespace

extern "C" HRESULT WINAPI SIM_PROVIDER_EXPORT(HINSTANCE, DWORD version, REFIID, LPVOID* out,
                                              IUnknown*) {
  char line[96];
  std::snprintf(line, sizeof line, "DirectInput8Create version=0x%04lX out=%s", version,
                out != nullptr ? "given" : "null");
  Record(line);
  const HRESULT result = ScriptedResult();
  if (out != nullptr) *out = SUCCEEDED(result) ? &directInput : nullptr;
  return result;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }
extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID, REFIID, LPVOID*) { return E_NOTIMPL; }
extern "C" HRESULT WINAPI DllRegisterServer() { return E_NOTIMPL; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  thisLibrary = instance;
#ifdef SIM_STAND_IN_LOADER
  LoaderAttached(instance);
#endif
  return TRUE;
}
