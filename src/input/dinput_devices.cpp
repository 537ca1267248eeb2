#include "input/dinput_devices.h"

#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>

#include <atomic>
#include <cstdint>

#include "base/log.h"
#include "base/patch.h"
#include "input/combo_guard.h"
#include "input/device_filter.h"

namespace artwheel {

namespace {

constexpr int kCreateDeviceSlot = 3;

// The interface tables whose CreateDevice was redirected, each with its
// entry: an ANSI and a wide interface have a table each, and each detoured
// call must reach the original of the table it came through.
RedirectOnce createDeviceRedirects[2];

CreateDeviceFn savedCreateDevice(void* self) {
  void** const entry = &(*static_cast<void***>(self))[kCreateDeviceSlot];
  for (const RedirectOnce& redirect : createDeviceRedirects) {
    if (redirect.entry() == entry) return reinterpret_cast<CreateDeviceFn>(redirect.original());
  }
  return nullptr;
}

using GetDeviceStateFn = HRESULT(STDMETHODCALLTYPE*)(void* self, DWORD size, void* data);
using GetDeviceDataFn = HRESULT(STDMETHODCALLTYPE*)(void* self, DWORD recordSize, void* records,
                                                    DWORD* count, DWORD flags);
using SetDataFormatFn = HRESULT(STDMETHODCALLTYPE*)(void* self, const DIDATAFORMAT* format);

HRESULT STDMETHODCALLTYPE GetDeviceStateDetour(void* self, DWORD size, void* data);
HRESULT STDMETHODCALLTYPE GetDeviceDataDetour(void* self, DWORD recordSize, void* records,
                                              DWORD* count, DWORD flags);
HRESULT STDMETHODCALLTYPE SetDataFormatDetour(void* self, const DIDATAFORMAT* format);

enum Method { kGetDeviceState, kGetDeviceData, kSetDataFormat, kMethodCount };
constexpr int kMethodSlots[kMethodCount] = {9, 10, 11};

void* DetourOf(int method) {
  switch (method) {
    case kGetDeviceState:
      return reinterpret_cast<void*>(&GetDeviceStateDetour);
    case kGetDeviceData:
      return reinterpret_cast<void*>(&GetDeviceDataDetour);
    default:
      return reinterpret_cast<void*>(&SetDataFormatDetour);
  }
}

// The methods saved from one device method table. A provider may hand out
// devices of different implementations (one table each); calling one
// implementation's method with another's object would crash the game, so the
// detours look their saved method up by the calling device's table.
struct DeviceTable {
  std::atomic<void**> table{nullptr};
  std::atomic<void*> saved[kMethodCount] = {};
};

constexpr int kMaxDeviceTables = 8;
DeviceTable deviceTables[kMaxDeviceTables];
std::atomic<int> deviceTableCount{0};
std::atomic<bool> deviceHooksLogged{false};

DeviceTable* FindTable(void** table) {
  const int count = deviceTableCount.load(std::memory_order_acquire);
  for (int i = 0; i < count && i < kMaxDeviceTables; ++i) {
    if (deviceTables[i].table.load(std::memory_order_acquire) == table) return &deviceTables[i];
  }
  return nullptr;
}

// The record of the table, published before any of its entries is
// redirected (each entry's original is saved into it by the redirection); null
// when no record is left.
DeviceTable* RecordTable(void** table) {
  if (DeviceTable* known = FindTable(table)) return known;
  int count = deviceTableCount.load(std::memory_order_acquire);
  do {
    if (count >= kMaxDeviceTables) return nullptr;
  } while (!deviceTableCount.compare_exchange_weak(count, count + 1, std::memory_order_acq_rel));
  DeviceTable& record = deviceTables[count];
  record.table.store(table, std::memory_order_release);
  return &record;
}

template <typename Fn>
Fn SavedMethod(void* device, int method) {
  const DeviceTable* record = FindTable(*static_cast<void***>(device));
  return record != nullptr
             ? reinterpret_cast<Fn>(record->saved[method].load(std::memory_order_acquire))
             : nullptr;
}

bool Suppressing() { return IsSuppressing(GetTickCount64()); }

HRESULT STDMETHODCALLTYPE GetDeviceStateDetour(void* self, DWORD size, void* data) {
  const auto original = SavedMethod<GetDeviceStateFn>(self, kGetDeviceState);
  if (original == nullptr) return E_FAIL;
  const HRESULT result = original(self, size, data);
  if (FAILED(result)) return result;
  FilterDeviceState(deviceFormats, static_cast<uint8_t*>(data), size, Suppressing(),
                    CombinationDeviceControl());
  return result;
}

HRESULT STDMETHODCALLTYPE GetDeviceDataDetour(void* self, DWORD recordSize, void* records,
                                              DWORD* count, DWORD flags) {
  const auto original = SavedMethod<GetDeviceDataFn>(self, kGetDeviceData);
  if (original == nullptr) return E_FAIL;
  const HRESULT result = original(self, recordSize, records, count, flags);
  if (FAILED(result)) return result;
  static_assert(sizeof(DWORD) == sizeof(uint32_t), "DirectInput counts are 32-bit");
  FilterDeviceEvents(deviceFormats, static_cast<uint8_t*>(records), recordSize,
                     reinterpret_cast<uint32_t*>(count), Suppressing(), CombinationDeviceControl());
  return result;
}

HRESULT STDMETHODCALLTYPE SetDataFormatDetour(void* self, const DIDATAFORMAT* format) {
  const auto original = SavedMethod<SetDataFormatFn>(self, kSetDataFormat);
  if (original == nullptr) return E_FAIL;
  const HRESULT result = original(self, format);
  if (FAILED(result) || format == nullptr || format->rgodf == nullptr) return result;
  RecordDataFormat(deviceFormats, format->dwDataSize,
                   reinterpret_cast<const uint8_t*>(format->rgodf), format->dwNumObjs);
  return result;
}

}  // namespace

bool HookDeviceMethods(void* device) {
  void** table = *static_cast<void***>(device);
  DeviceTable* record = table != nullptr ? RecordTable(table) : nullptr;
  int redirected = 0;
  for (int method = 0; record != nullptr && method < kMethodCount; ++method) {
    void** slot = &table[kMethodSlots[method]];
    if (*slot == nullptr) continue;
    const PatchStatus status =
        RedirectEntry(slot, DetourOf(method), TableKind::kMethod, &record->saved[method]);
    if (InPlace(status)) ++redirected;
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
  return createDeviceRedirects[static_cast<int>(which)].Redirect(
      &table[kCreateDeviceSlot], reinterpret_cast<void*>(&CreateDeviceDetour), TableKind::kMethod);
}

void RedirectCreateDevice(void* directInput) {
  switch (RedirectInterfaceTable(directInput, InterfaceTable::kFirst)) {
    case PatchStatus::kRedirected:
      WriteLogLine("[Input] Hooked DirectInput8 CreateDevice");
      break;
    case PatchStatus::kOriginalUnknown:  // it leads here, but not through us: original unknown
    case PatchStatus::kRefused:
      WriteLogLine("[Input] Failed to hook DirectInput8 CreateDevice");
      break;
    case PatchStatus::kAlreadyRedirected:
      break;  // another thread of ours got there first
  }
}

bool CreateDeviceRedirected() { return createDeviceRedirects[0].redirected(); }

HRESULT STDMETHODCALLTYPE CreateDeviceDetour(void* self, REFGUID guid, void** device,
                                             IUnknown* outer) {
  const CreateDeviceFn original = savedCreateDevice(self);
  if (original == nullptr) return E_FAIL;
  const HRESULT result = original(self, guid, device, outer);
  if (SUCCEEDED(result) && device != nullptr && *device != nullptr) HookDeviceMethods(*device);
  return result;
}

}  // namespace artwheel
