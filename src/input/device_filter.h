#pragma once
// What the game's DirectInput devices may report: the buttons and hats of the
// formats it set, blanked while a combination is in use, and the held control
// (a hat direction or a button) with a press of buttons 0 to 3 removed at any
// time. Platform-free: the detours hand over the caller's bytes.
#include <atomic>
#include <cstdint>

#include "input/combo.h"

namespace artwheel {

inline constexpr uint32_t kMaxDeviceFormats = 8;
inline constexpr uint32_t kMaxFormatButtons = 32;
inline constexpr uint32_t kMaxFormatPovs = 4;
inline constexpr uint32_t kMaxFormatAxes = 32;       // DIJOYSTATE2 has 32
inline constexpr uint32_t kObjectFormatStride = 24;  // DIOBJECTDATAFORMAT on x64
inline constexpr uint32_t kEventRecordSize = 24;     // DIDEVICEOBJECTDATA on x64

// DIJOYSTATE, the fixed layout used when no recorded format applies.
inline constexpr uint32_t kJoyStateSize = 80;
inline constexpr uint32_t kJoyStatePovs = 0x20;
inline constexpr uint32_t kJoyStateButtons = 0x30;
inline constexpr uint32_t kPovCentred = 0xFFFFFFFF;

// Written by SetDataFormat on any game thread while reads scan it on others:
// entries are only appended, each offset is stored before its count is raised.
struct DeviceFormat {
  std::atomic<uint32_t> dataSize{0};
  std::atomic<uint32_t> buttonOffsets[kMaxFormatButtons] = {};
  std::atomic<uint32_t> buttonCount{0};
  std::atomic<uint32_t> povOffsets[kMaxFormatPovs] = {};
  std::atomic<uint32_t> povCount{0};
  std::atomic<uint32_t> axisOffsets[kMaxFormatAxes] = {};
  std::atomic<uint32_t> axisCount{0};
};

struct DeviceFormatTable {
  DeviceFormat entries[kMaxDeviceFormats];
  std::atomic<uint32_t> count{0};
};

extern DeviceFormatTable deviceFormats;

// Hundredths of a degree clockwise from north: within 45 degrees of `centre`
// either side (down-right, down or down-left for down).
bool IsPovToward(uint32_t value, uint32_t centre);

// Records where a format keeps its buttons, hats and axes; `objects` is its array of
// DIOBJECTDATAFORMAT records (24 bytes each).
void RecordDataFormat(DeviceFormatTable& table, uint32_t dataSize, const uint8_t* objects,
                      uint32_t objectCount);

// Filters a GetDeviceState result of `size` bytes in place.
void FilterDeviceState(const DeviceFormatTable& table, uint8_t* data, uint32_t size,
                       bool suppressing, HeldControl held);

// Filters a GetDeviceData batch in place and updates *count. Records of
// another size than the 24-byte x64 record are only dropped (inside the
// window), never walked. With no held control only the window applies.
void FilterDeviceEvents(const DeviceFormatTable& table, uint8_t* records, uint32_t recordSize,
                        uint32_t* count, bool suppressing, HeldControl held);

// While the settings menu holds the joystick: of a batch, only releases of
// buttons and hats going back to the centre pass, so the game never misses a
// release it waits for and sees nothing new.
void FilterHeldJoystickEvents(const DeviceFormatTable& table, uint8_t* records, uint32_t recordSize,
                              uint32_t* count);

// An axis's range as the device reports it; false when it has none (a
// relative axis) or cannot say.
using AxisRangeOf = bool (*)(void* device, uint32_t offset, int32_t* low, int32_t* high);

// While the settings menu holds the joystick: each axis of a GetDeviceState
// result at the middle of its range, so the game sees the sticks at rest.
// An axis whose range is not known keeps its value.
void CentreAxes(const DeviceFormatTable& table, uint8_t* data, uint32_t size, AxisRangeOf rangeOf,
                void* device);

// The game's devices that read as a keyboard (their data format is 256
// bytes), noted by SetDataFormat on any game thread.
inline constexpr uint32_t kKeyboardStateSize = 256;
struct KeyboardDevices {
  std::atomic<const void*> devices[kMaxDeviceFormats] = {};
};

extern KeyboardDevices keyboardDevices;

void NoteDeviceFormat(KeyboardDevices& keyboards, const void* device, uint32_t dataSize);
bool IsKeyboardDevice(const KeyboardDevices& keyboards, const void* device);

}  // namespace artwheel
