#include "overlay/wheel_draw.h"

#include "overlay/overlay_renderer.h"

namespace artwheel {
namespace {

constexpr float kEmptySlotAlpha = 0.3f;
constexpr float kEquippedSlotAlpha = 0.9f;

}  // namespace

void DrawWheel(const PanelRects& panel, const PanelState& state, const OverlaySettings& settings,
               float width, float height) {
  ID3D11ShaderResourceView* background = PanelBackground(settings.folder);
  if (background == nullptr) return;  // as the panel: nothing without the background
  OverlayRenderer& r = overlayRenderer;
  const PanelLayout& layout = settings.layout;
  const WheelRects wheel = LayOutWheel(panel, layout);
  QuadBatch batch{};
  for (int slot = 0; slot < kWheelSlotCount; ++slot) {
    const uint32_t artId = state.slotArtIds[slot];
    ID3D11ShaderResourceView* icon =
        artId == 0 ? nullptr
                   : CachedArtIcon(settings.folder, artId, r.slotTextures[slot],
                                   r.slotTextureArtIds[slot], r.slotFailures[slot]);
    float alpha = kPanelAlpha;
    if (icon == nullptr) {
      alpha = kEmptySlotAlpha;
    } else if (artId == state.equippedArtId) {
      alpha = kEquippedSlotAlpha;
    }
    AddQuad(batch, background, wheel.slot[slot], width, height, LayoutAlpha(alpha, layout));
    AddQuad(batch, icon, wheel.icon[slot], width, height, LayoutAlpha(1.0f, layout));
  }
  DrawQuadBatch(batch);
}

}  // namespace artwheel
