#pragma once
// What the fake chained provider's devices report, scripted by the simulator
// and read by every copy of the provider through the simulator's export.
#include <cstdint>

inline constexpr char kSimDeviceScriptExport[] = "SimDeviceScript";
inline constexpr uint32_t kSimDeviceStateSize = 512;
inline constexpr uint32_t kSimDeviceMaxEvents = 64;

struct SimDeviceEvent {
  uint32_t offset;
  uint32_t data;
};

struct SimDeviceScriptData {
  uint8_t state[kSimDeviceStateSize];
  uint32_t eventCount;
  SimDeviceEvent events[kSimDeviceMaxEvents];
};
