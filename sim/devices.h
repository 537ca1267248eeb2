#pragma once
// The game's DirectInput devices, created through the interface of the last
// `dinput` command and kept by name.
#include <cstdint>
#include <cstdio>

namespace sim {

void CreateNamedDevice(std::FILE* results, const char* name, const char* kind);
// joystick, joystick2, keyboard, mouse, or custom:SIZE:HATS:BUTTONS (hats at
// 0, 4, ...; then one byte per button).
void SetNamedDeviceFormat(std::FILE* results, const char* name, const char* format);
void AcquireNamedDevice(std::FILE* results, const char* name, uint32_t bufferSize);
void ReadNamedDeviceState(std::FILE* results, const char* name, uint32_t size, const char* label);
void ReadNamedDeviceData(std::FILE* results, const char* name, uint32_t count, uint32_t recordSize,
                         const char* label);
// The event queued unless one is still queued, then one buffered read of a
// single record, reported to nobody: the records the game got (0 or 1), or -1
// when the read failed.
int QueueAndCountNamedDeviceData(const char* name, uint32_t offset, uint32_t data);

// The fake provider's script: state bytes and queued events.
void SetDeviceStateByte(uint32_t offset, uint8_t value);
void SetDeviceStateDword(uint32_t offset, uint32_t value);
void ClearDeviceScript();
void QueueDeviceEvent(uint32_t offset, uint32_t data);

}  // namespace sim
