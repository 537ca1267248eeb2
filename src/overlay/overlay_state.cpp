#include "overlay/overlay_state.h"

#include <windows.h>

#include <atomic>
#include <cstring>
#include <cwchar>

#include "base/text_format.h"

namespace artwheel {
namespace {

struct OverlayStateRecord {
  SRWLOCK messageLock = SRWLOCK_INIT;
  wchar_t messageText[kMessageCapacity] = {};
  uint64_t messageExpiresAt = 0;

  SRWLOCK panelLock = SRWLOCK_INIT;
  char iniPath[260] = {};
  bool panelVisible = false;
  uint32_t panelArtId = 0;
  bool panelAnyResolution = false;
  PanelLayout panelLayout;
  bool wheelShown = false;
  uint32_t wheelArtIds[kWheelSlotCount] = {};
  uint32_t wheelEquippedArtId = 0;
};

OverlayStateRecord OverlayState;
std::atomic<bool> panelSwitchedOn{false};

}  // namespace

void PostOverlayMessage(const char* utf8Text) {
  wchar_t converted[kMessageCapacity] = {};
  if (utf8Text != nullptr &&
      MultiByteToWideChar(CP_UTF8, 0, utf8Text, -1, converted, kMessageCapacity) == 0) {
    converted[0] = L'\0';  // does not fit: post nothing rather than a cut text
  }
  AcquireSRWLockExclusive(&OverlayState.messageLock);
  std::wmemcpy(OverlayState.messageText, converted, kMessageCapacity);
  OverlayState.messageExpiresAt = GetTickCount64() + kMessageDurationMs;
  ReleaseSRWLockExclusive(&OverlayState.messageLock);
}

void SetPanelState(bool visible, uint32_t artId) {
  AcquireSRWLockExclusive(&OverlayState.panelLock);
  OverlayState.panelVisible = visible;
  OverlayState.panelArtId = artId;
  ReleaseSRWLockExclusive(&OverlayState.panelLock);
}

void SetOverlayIniPath(const char* path) {
  char copy[sizeof OverlayState.iniPath] = {};
  if (path != nullptr) FormatText(copy, sizeof copy, "%s", path);  // too long: empty
  AcquireSRWLockExclusive(&OverlayState.panelLock);
  std::memcpy(OverlayState.iniPath, copy, sizeof copy);
  ReleaseSRWLockExclusive(&OverlayState.panelLock);
}

void SetPanelAnyResolution(bool anyResolution) {
  AcquireSRWLockExclusive(&OverlayState.panelLock);
  OverlayState.panelAnyResolution = anyResolution;
  ReleaseSRWLockExclusive(&OverlayState.panelLock);
}

void SetPanelLayout(const PanelLayout& layout) {
  AcquireSRWLockExclusive(&OverlayState.panelLock);
  OverlayState.panelLayout = layout;
  ReleaseSRWLockExclusive(&OverlayState.panelLock);
}

void SetWheelState(bool shown, const uint32_t (&slotArtIds)[kWheelSlotCount],
                   uint32_t equippedArtId) {
  AcquireSRWLockExclusive(&OverlayState.panelLock);
  OverlayState.wheelShown = shown;
  std::memcpy(OverlayState.wheelArtIds, slotArtIds, sizeof slotArtIds);
  OverlayState.wheelEquippedArtId = equippedArtId;
  ReleaseSRWLockExclusive(&OverlayState.panelLock);
}

void SetPanelSwitch(bool switchedOn) {
  panelSwitchedOn.store(switchedOn, std::memory_order_release);
}

bool ReadPanelSwitch() { return panelSwitchedOn.load(std::memory_order_acquire); }

bool ReadOverlayMessage(uint64_t now, wchar_t (&text)[kMessageCapacity]) {
  AcquireSRWLockShared(&OverlayState.messageLock);
  const bool showing = OverlayState.messageText[0] != L'\0' && now < OverlayState.messageExpiresAt;
  if (showing) std::wmemcpy(text, OverlayState.messageText, kMessageCapacity);
  ReleaseSRWLockShared(&OverlayState.messageLock);
  return showing;
}

PanelState ReadPanelState() {
  PanelState state{};
  AcquireSRWLockShared(&OverlayState.panelLock);
  state.visible = OverlayState.panelVisible;
  state.artId = OverlayState.panelArtId;
  state.anyResolution = OverlayState.panelAnyResolution;
  state.layout = OverlayState.panelLayout;
  state.wheelShown = OverlayState.wheelShown;
  std::memcpy(state.slotArtIds, OverlayState.wheelArtIds, sizeof state.slotArtIds);
  state.equippedArtId = OverlayState.wheelEquippedArtId;
  ReleaseSRWLockShared(&OverlayState.panelLock);
  return state;
}

bool ReadOverlayIniPath(char (&path)[260]) {
  std::memset(path, 0, sizeof path);
  AcquireSRWLockShared(&OverlayState.panelLock);
  if (OverlayState.iniPath[0] != '\0') std::memcpy(path, OverlayState.iniPath, sizeof path);
  ReleaseSRWLockShared(&OverlayState.panelLock);
  return path[0] != '\0';
}

}  // namespace artwheel
