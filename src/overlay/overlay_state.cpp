#include "overlay/overlay_state.h"

#include <windows.h>

#include <atomic>
#include <cstring>
#include <cwchar>

namespace artwheel {
namespace {

struct OverlayStateRecord {
  SRWLOCK messageLock = SRWLOCK_INIT;
  OverlayMessage message;
  uint64_t messageExpiresAt = 0;

  SRWLOCK panelLock = SRWLOCK_INIT;
  OverlaySettings settings;
  PanelState panel;
  MenuView menu;  // under panelLock too: written only on a change, read only then
};

OverlayStateRecord OverlayState;
std::atomic<bool> panelSwitchedOn{false};
std::atomic<bool> menuShown{false};
std::atomic<uint32_t> menuRevision{0};

// A line longer than the row holds shows empty rather than cut.
void WidenLine(const char* utf8, wchar_t (&out)[kMenuTextCapacity]) {
  out[0] = L'\0';
  if (MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out, kMenuTextCapacity) == 0) out[0] = L'\0';
}

}  // namespace

namespace {

// Empty when the text does not fit: nothing rather than a cut text.
void Convert(const char* utf8Text, wchar_t (&converted)[kMessageCapacity]) {
  if (utf8Text != nullptr &&
      MultiByteToWideChar(CP_UTF8, 0, utf8Text, -1, converted, kMessageCapacity) == 0) {
    converted[0] = L'\0';
  }
}

}  // namespace

void PostOverlayMessage(const char* utf8Text, Language language, const char* utf8English) {
  OverlayMessage converted;
  Convert(utf8Text, converted.text);
  Convert(utf8English != nullptr ? utf8English : utf8Text, converted.english);
  converted.language = utf8English != nullptr ? language : Language::kEn;
  if (converted.text[0] == L'\0') {  // too long in the language: the English one, if it fits
    std::wmemcpy(converted.text, converted.english, kMessageCapacity);
    converted.language = Language::kEn;
  }
  AcquireSRWLockExclusive(&OverlayState.messageLock);
  OverlayState.message = converted;
  OverlayState.messageExpiresAt = GetTickCount64() + kMessageDurationMs;
  ReleaseSRWLockExclusive(&OverlayState.messageLock);
}

void SetPanelState(bool visible, uint32_t artId) {
  AcquireSRWLockExclusive(&OverlayState.panelLock);
  OverlayState.panel.visible = visible;
  OverlayState.panel.artId = artId;
  ReleaseSRWLockExclusive(&OverlayState.panelLock);
}

void ConfigureOverlay(const OverlaySettings& settings) {
  AcquireSRWLockExclusive(&OverlayState.panelLock);
  OverlayState.settings = settings;
  ReleaseSRWLockExclusive(&OverlayState.panelLock);
}

void SetWheelState(bool shown, const uint32_t (&slotArtIds)[kWheelSlotCount],
                   uint32_t equippedArtId) {
  AcquireSRWLockExclusive(&OverlayState.panelLock);
  PanelState& panel = OverlayState.panel;
  panel.wheelShown = shown;
  std::memcpy(panel.slotArtIds, slotArtIds, sizeof slotArtIds);
  panel.equippedArtId = equippedArtId;
  ReleaseSRWLockExclusive(&OverlayState.panelLock);
}

void SetPanelSwitch(bool switchedOn) {
  panelSwitchedOn.store(switchedOn, std::memory_order_release);
}

bool ReadPanelSwitch() { return panelSwitchedOn.load(std::memory_order_acquire); }

bool ReadOverlayMessage(uint64_t now, OverlayMessage& message) {
  AcquireSRWLockShared(&OverlayState.messageLock);
  const bool showing = OverlayState.message.text[0] != L'\0' && now < OverlayState.messageExpiresAt;
  if (showing) message = OverlayState.message;
  ReleaseSRWLockShared(&OverlayState.messageLock);
  return showing;
}

PanelState ReadPanelState() {
  AcquireSRWLockShared(&OverlayState.panelLock);
  const PanelState state = OverlayState.panel;
  ReleaseSRWLockShared(&OverlayState.panelLock);
  return state;
}

void ReadOverlaySettings(OverlaySettings& settings) {
  AcquireSRWLockShared(&OverlayState.panelLock);
  settings = OverlayState.settings;
  ReleaseSRWLockShared(&OverlayState.panelLock);
}

void ShowMenu(const MenuLines& lines) {
  static MenuView wide;  // worker thread only
  wide.language = lines.language;
  wide.opacityPercent = lines.opacityPercent;
  wide.rowCount = lines.rowCount < kMenuRowCapacity ? lines.rowCount : kMenuRowCapacity;
  wide.selected = lines.selected;
  WidenLine(lines.title, wide.title);
  for (int row = 0; row < wide.rowCount; ++row) {
    WidenLine(lines.names[row], wide.names[row]);
    WidenLine(lines.values[row], wide.values[row]);
  }
  wide.revision = menuRevision.load(std::memory_order_relaxed) + 1;
  AcquireSRWLockExclusive(&OverlayState.panelLock);
  OverlayState.menu = wide;
  ReleaseSRWLockExclusive(&OverlayState.panelLock);
  menuRevision.store(wide.revision, std::memory_order_release);
  menuShown.store(true, std::memory_order_release);
}

void HideMenu() { menuShown.store(false, std::memory_order_release); }

bool IsMenuShown() { return menuShown.load(std::memory_order_relaxed); }

bool ReadMenuView(MenuView& view) {
  if (menuRevision.load(std::memory_order_acquire) == view.revision) return false;
  AcquireSRWLockShared(&OverlayState.panelLock);
  view = OverlayState.menu;
  ReleaseSRWLockShared(&OverlayState.panelLock);
  return true;
}

}  // namespace artwheel
