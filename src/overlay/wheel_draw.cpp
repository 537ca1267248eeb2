#include "overlay/wheel_draw.h"

#include "overlay/overlay_renderer.h"

namespace artwheel {
namespace {

constexpr float kEmptySlotAlpha = 0.3f;
constexpr float kEquippedSlotAlpha = 0.9f;

// A white ring just outside the equipped slot's tile, a twelfth of the tile
// wide (at least 2 pixels): seen at a glance on any game picture, SDR or HDR.
void AddRing(QuadBatch& batch, const PixelRect& tile, float width, float height, float alpha) {
  float t = (tile.right - tile.left) / 12.0f;
  if (t < 2.0f) t = 2.0f;
  t = static_cast<float>(static_cast<int>(t));
  ID3D11ShaderResourceView* white = overlayRenderer.whiteTexture;
  const float left = tile.left - t;
  const float right = tile.right + t;
  AddQuad(batch, white, {left, tile.top - t, right, tile.top}, width, height, alpha);
  AddQuad(batch, white, {left, tile.bottom, right, tile.bottom + t}, width, height, alpha);
  AddQuad(batch, white, {left, tile.top, tile.left, tile.bottom}, width, height, alpha);
  AddQuad(batch, white, {tile.right, tile.top, right, tile.bottom}, width, height, alpha);
}

}  // namespace

void DrawWheel(const PanelRects& panel, const PanelState& state, const OverlaySettings& settings,
               float width, float height) {
  ID3D11ShaderResourceView* background = PanelBackground(settings.folder);
  if (background == nullptr) return;  // as the panel: nothing without the background
  OverlayRenderer& r = overlayRenderer;
  const PanelLayout& layout = settings.layout;
  const WheelRects wheel = LayOutWheel(panel, layout);
  QuadBatch batch{};
  int equipped = -1;
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
      equipped = slot;
    }
    AddQuad(batch, background, wheel.slot[slot], width, height, LayoutAlpha(alpha, layout));
    AddQuad(batch, icon, wheel.icon[slot], width, height, LayoutAlpha(1.0f, layout));
  }
  if (equipped >= 0) AddRing(batch, wheel.slot[equipped], width, height, LayoutAlpha(1.0f, layout));
  DrawQuadBatch(batch);
}

}  // namespace artwheel
