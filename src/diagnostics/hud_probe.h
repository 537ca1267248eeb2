#pragma once

namespace artwheel {

// F6, F7, F8: a HUD_VISIBLE snapshot; F9: HUD_HIDDEN; F10: reset. Once per press.
void HudProbeTick();
void CaptureHudVisible(const char* keyName);
void CaptureHudHidden();
void CompareHudSnapshots();
void ResetHudProbe();

}  // namespace artwheel
