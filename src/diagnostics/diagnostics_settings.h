#pragma once
// What the diagnostics take from the settings, handed over once by the worker
// after the load; read on the worker thread only.
#include <cstdint>

namespace artwheel {

struct UIScanSettings {
  bool detail = false;      // [UIScan] Detail
  uint32_t intervalMs = 0;  // [UIScan] IntervalMs, already clamped
};

struct HudProbeSettings {
  bool globalFields = false;            // [HudProbe] GlobalFields
  bool dumpGlobalPointers = false;      // [HudProbe] DumpGlobalPointers
  uint32_t dumpGlobalPointerLimit = 0;  // [HudProbe] DumpGlobalPointerLimit, at least 1
  // The library's folder with its trailing backslash, where the dumps go;
  // empty when it is not known (the dumps then go into the current folder).
  // Never null.
  const char* folder = "";
};

void ConfigureUIScan(const UIScanSettings& settings);
void ConfigureHudProbe(const HudProbeSettings& settings);

const UIScanSettings& UIScanConfig();
const HudProbeSettings& HudProbeConfig();

}  // namespace artwheel
