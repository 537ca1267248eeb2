#pragma once
// What the worker decides and the render thread draws: a message shown for two
// seconds and the skill panel's decision, each group under its own slim
// reader/writer lock. The locks are never nested and never held across
// Direct3D, the profile functions or the log.
#include <cstddef>
#include <cstdint>

#include "overlay/menu_view.h"
#include "overlay/overlay_settings.h"
#include "overlay/panel_layout.h"
#include "words/language.h"

namespace artwheel {

inline constexpr size_t kMessageCapacity = 128;  // UTF-16 code units
inline constexpr uint64_t kMessageDurationMs = 2000;

// A message as drawn: its text in the player's language, and in English for
// when no installed font has the glyphs of the other.
struct OverlayMessage {
  wchar_t text[kMessageCapacity] = {};
  wchar_t english[kMessageCapacity] = {};
  Language language = Language::kEn;
};

struct PanelState {
  bool visible = false;
  uint32_t artId = 0;
  bool wheelShown = false;  // the four slots, while the combinations' held button is down
  uint32_t slotArtIds[kWheelSlotCount] = {};
  uint32_t equippedArtId = 0;  // the wheel's mark; kept while the panel is hidden
};

// Worker thread.
// `utf8English` null: the text is English already.
void PostOverlayMessage(const char* utf8Text, Language language = Language::kEn,
                        const char* utf8English = nullptr);
void SetPanelState(bool visible, uint32_t artId);
// At hand-over and again whenever the settings are read anew.
void ConfigureOverlay(const OverlaySettings& settings);
// Whether the player's file still switches the panel on: [SkillPanel] Enable
// is the one setting read again while the game runs. The worker looks at the
// file in every tick in which the panel or the wheel shows, so that the render
// thread makes no file call.
void SetPanelSwitch(bool switchedOn);
void SetWheelState(bool shown, const uint32_t (&slotArtIds)[kWheelSlotCount],
                   uint32_t equippedArtId);

// The settings menu: shown with these lines, or hidden. Each call is a change
// (the render thread draws the menu again only then).
void ShowMenu(const MenuLines& lines);
void HideMenu();

// Render thread.
bool ReadOverlayMessage(uint64_t now, OverlayMessage& message);
PanelState ReadPanelState();
void ReadOverlaySettings(OverlaySettings& settings);
bool ReadPanelSwitch();  // false until the worker has looked

// The settings menu in UTF-16, as the render thread keeps its copy.
inline constexpr size_t kMenuTextCapacity = 48;
struct MenuView {
  uint32_t revision = 0;
  Language language = Language::kEn;
  uint32_t opacityPercent = 100;
  int rowCount = 0;
  int selected = 0;
  wchar_t title[kMenuTextCapacity] = {};
  wchar_t names[kMenuRowCapacity][kMenuTextCapacity] = {};
  wchar_t values[kMenuRowCapacity][kMenuTextCapacity] = {};
};
// One relaxed load: whether the menu shows at all.
bool IsMenuShown();
// Copies the menu into `view` when it changed since `view.revision`; false
// when it is unchanged (nothing copied).
bool ReadMenuView(MenuView& view);

}  // namespace artwheel
