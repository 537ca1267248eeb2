#include "devices.h"

#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "device_script.h"
#include "game_input.h"

extern "C" {
__declspec(dllexport) SimDeviceScriptData SimDeviceScript;
}

namespace sim {
namespace {

constexpr int kMaxDevices = 8;
constexpr uint32_t kGuardBytes = 32;
constexpr uint8_t kGuardValue = 0xEE;

struct NamedDevice {
  std::string name;
  IDirectInputDevice8A* device = nullptr;
  // Formats must outlive SetDataFormat only for the call; kept for clarity.
  std::vector<DIOBJECTDATAFORMAT> objects;
  DIDATAFORMAT format = {};
};

NamedDevice devices[kMaxDevices];

NamedDevice* Find(const char* name) {
  for (NamedDevice& d : devices) {
    if (d.device != nullptr && d.name == name) return &d;
  }
  return nullptr;
}

bool BuildCustomFormat(NamedDevice& d, const char* layout) {
  unsigned size = 0, hats = 0, buttons = 0;
  if (std::sscanf(layout, "custom:%u:%u:%u", &size, &hats, &buttons) != 3) return false;
  d.objects.clear();
  for (unsigned i = 0; i < hats; ++i) {
    d.objects.push_back({&GUID_POV, 4 * i, DIDFT_POV | DIDFT_ANYINSTANCE, 0});
  }
  for (unsigned i = 0; i < buttons; ++i) {
    d.objects.push_back({nullptr, 4 * hats + i, DIDFT_BUTTON | DIDFT_ANYINSTANCE, 0});
  }
  d.format = {sizeof(DIDATAFORMAT),
              sizeof(DIOBJECTDATAFORMAT),
              DIDF_ABSAXIS,
              size,
              static_cast<DWORD>(d.objects.size()),
              d.objects.data()};
  return true;
}

std::string Hex(const unsigned char* bytes, size_t size) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < size; ++i) {
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 15];
  }
  return text;
}

bool GuardIntact(const std::vector<unsigned char>& buffer, size_t used) {
  for (size_t i = 0; i < kGuardBytes; ++i) {
    if (buffer[i] != kGuardValue || buffer[kGuardBytes + used + i] != kGuardValue) return false;
  }
  return true;
}

}  // namespace

void CreateNamedDevice(std::FILE* results, const char* name, const char* kind) {
  IDirectInput8A* input = LastDirectInput();
  NamedDevice* slot = nullptr;
  for (NamedDevice& d : devices) {
    if (d.device == nullptr) {
      slot = &d;
      break;
    }
  }
  if (input == nullptr || slot == nullptr) {
    std::fprintf(results, "device %s unavailable\n", name);
    return;
  }
  const GUID& guid = std::strcmp(kind, "keyboard") == 0 ? GUID_SysKeyboard
                     : std::strcmp(kind, "mouse") == 0  ? GUID_SysMouse
                                                        : GUID_Joystick;
  const HRESULT hr = input->CreateDevice(guid, &slot->device, nullptr);
  if (SUCCEEDED(hr) && slot->device != nullptr) slot->name = name;
  std::fprintf(results, "device %s hr=0x%08lX\n", name, static_cast<unsigned long>(hr));
}

void SetNamedDeviceFormat(std::FILE* results, const char* name, const char* format) {
  NamedDevice* d = Find(name);
  if (d == nullptr) {
    std::fprintf(results, "format %s nodevice\n", name);
    return;
  }
  const DIDATAFORMAT* chosen = nullptr;
  if (std::strcmp(format, "joystick") == 0) chosen = &c_dfDIJoystick;
  if (std::strcmp(format, "joystick2") == 0) chosen = &c_dfDIJoystick2;
  if (std::strcmp(format, "keyboard") == 0) chosen = &c_dfDIKeyboard;
  if (std::strcmp(format, "mouse") == 0) chosen = &c_dfDIMouse;
  if (chosen == nullptr && BuildCustomFormat(*d, format)) chosen = &d->format;
  const HRESULT hr = chosen != nullptr ? d->device->SetDataFormat(chosen) : E_INVALIDARG;
  std::fprintf(results, "format %s %s hr=0x%08lX\n", name, format, static_cast<unsigned long>(hr));
}

void AcquireNamedDevice(std::FILE* results, const char* name, uint32_t bufferSize) {
  NamedDevice* d = Find(name);
  if (d == nullptr) return;
  DIPROPDWORD property = {};
  property.diph.dwSize = sizeof property;
  property.diph.dwHeaderSize = sizeof property.diph;
  property.diph.dwHow = DIPH_DEVICE;
  property.dwData = bufferSize;
  d->device->SetProperty(DIPROP_BUFFERSIZE, &property.diph);
  d->device->SetCooperativeLevel(nullptr, DISCL_BACKGROUND | DISCL_NONEXCLUSIVE);
  const HRESULT hr = d->device->Acquire();
  std::fprintf(results, "acquire %s hr=0x%08lX\n", name, static_cast<unsigned long>(hr));
}

void ReadNamedDeviceState(std::FILE* results, const char* name, uint32_t size, const char* label) {
  NamedDevice* d = Find(name);
  if (d == nullptr) return;
  std::vector<unsigned char> buffer(size + 2 * kGuardBytes, kGuardValue);
  std::memset(buffer.data() + kGuardBytes, 0xCD, size);
  const HRESULT hr = d->device->GetDeviceState(size, buffer.data() + kGuardBytes);
  std::fprintf(results, "getstate %s hr=0x%08lX guard=%s bytes=%s\n", label,
               static_cast<unsigned long>(hr), GuardIntact(buffer, size) ? "ok" : "broken",
               Hex(buffer.data() + kGuardBytes, size).c_str());
}

void ReadNamedDeviceData(std::FILE* results, const char* name, uint32_t count, uint32_t recordSize,
                         const char* label) {
  NamedDevice* d = Find(name);
  if (d == nullptr) return;
  const size_t used = static_cast<size_t>(count) * recordSize;
  std::vector<unsigned char> buffer(used + 2 * kGuardBytes, kGuardValue);
  std::memset(buffer.data() + kGuardBytes, 0, used);
  DWORD n = count;
  const HRESULT hr = d->device->GetDeviceData(
      recordSize, reinterpret_cast<DIDEVICEOBJECTDATA*>(buffer.data() + kGuardBytes), &n, 0);
  std::string events;
  for (DWORD i = 0; SUCCEEDED(hr) && i < n && i < count; ++i) {
    uint32_t offset = 0, data = 0, stamp = 0;
    const unsigned char* record = buffer.data() + kGuardBytes + static_cast<size_t>(i) * recordSize;
    std::memcpy(&offset, record, 4);
    std::memcpy(&data, record + 4, 4);
    std::memcpy(&stamp, record + 8, 4);
    char text[64];
    std::snprintf(text, sizeof text, "%s%u:%u@%u", events.empty() ? "" : ",", offset, data, stamp);
    events += text;
  }
  std::fprintf(results, "getdata %s hr=0x%08lX guard=%s n=%lu events=%s\n", label,
               static_cast<unsigned long>(hr), GuardIntact(buffer, used) ? "ok" : "broken",
               static_cast<unsigned long>(n), events.c_str());
}

int QueueAndCountNamedDeviceData(const char* name, uint32_t offset, uint32_t data) {
  NamedDevice* d = Find(name);
  if (d == nullptr) return -1;
  if (SimDeviceScript.eventCount == 0) QueueDeviceEvent(offset, data);
  DIDEVICEOBJECTDATA record = {};
  DWORD n = 1;
  const HRESULT hr = d->device->GetDeviceData(sizeof record, &record, &n, 0);
  return SUCCEEDED(hr) ? static_cast<int>(n) : -1;
}

void SetDeviceStateByte(uint32_t offset, uint8_t value) {
  if (offset < kSimDeviceStateSize) SimDeviceScript.state[offset] = value;
}

void SetDeviceStateDword(uint32_t offset, uint32_t value) {
  if (offset + 4 <= kSimDeviceStateSize) std::memcpy(&SimDeviceScript.state[offset], &value, 4);
}

void ClearDeviceScript() { std::memset(&SimDeviceScript, 0, sizeof SimDeviceScript); }

void QueueDeviceEvent(uint32_t offset, uint32_t data) {
  if (SimDeviceScript.eventCount < kSimDeviceMaxEvents) {
    SimDeviceScript.events[SimDeviceScript.eventCount++] = SimDeviceEvent{offset, data};
  }
}

}  // namespace sim
