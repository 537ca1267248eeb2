#include "diagnostics/diagnostics_settings.h"

namespace artwheel {
namespace {

UIScanSettings uiScanSettings;
HudProbeSettings hudProbeSettings;

}  // namespace

void ConfigureUIScan(const UIScanSettings& settings) { uiScanSettings = settings; }

void ConfigureHudProbe(const HudProbeSettings& settings) {
  hudProbeSettings = settings;
  if (hudProbeSettings.folder == nullptr) hudProbeSettings.folder = "";
}

const UIScanSettings& UIScanConfig() { return uiScanSettings; }

const HudProbeSettings& HudProbeConfig() { return hudProbeSettings; }

}  // namespace artwheel
