#include "overlay/overlay_frame.h"

#include <d3d11.h>

#include <atomic>
#include <cstring>

#include "base/log.h"
#include "base/text_format.h"
#include "overlay/overlay_layout.h"
#include "overlay/overlay_renderer.h"
#include "overlay/overlay_state.h"
#include "overlay/panel_layout.h"
#include "overlay/pipeline_state.h"
#include "overlay/wheel_draw.h"

namespace artwheel {
namespace {

std::atomic<bool> swapChainInfoLogged{false};

struct FrameWants {
  bool showMessage = false;
  OverlayMessage message;
  bool panelWanted = false;
  bool wheelWanted = false;
  bool menuWanted = false;
  PanelState panel = {};
  OverlaySettings settings;  // read only when something shows
};

// Shared-lock copies (the settings only when something shows), a tick read
// and the panel switch the worker published. No Direct3D call, no file call.
void ReadWhatIsWanted(FrameWants& wants) {
  wants.menuWanted = IsMenuShown();
  wants.showMessage = ReadOverlayMessage(GetTickCount64(), wants.message);
  wants.panel = ReadPanelState();
  if (!wants.showMessage && !wants.menuWanted && !wants.panel.visible && !wants.panel.wheelShown) {
    return;
  }
  ReadOverlaySettings(wants.settings);  // the message's and the menu's HDR encoding too
  if (!wants.panel.visible && !wants.panel.wheelShown) return;
  const bool switchedOn = ReadPanelSwitch();
  wants.panelWanted = wants.panel.visible && switchedOn;
  wants.wheelWanted = wants.panel.wheelShown && switchedOn;
}

// "; placed: ..." when the player moved, sized or dimmed the panel, else empty.
void DescribeLayout(const PanelPlacement& placement, const PanelLayout& layout, char (&text)[160]) {
  text[0] = '\0';
  if (IsDefaultPlacement(layout)) return;
  const PixelRect panel = LayOutPanel(placement, layout).panel;
  FormatText(text, sizeof text,
             "; placed: %s, scale %u.%03u, offset %d,%d, opacity %u%%, panel %d,%d to %d,%d",
             CornerName(layout.corner), layout.scaleMilli / 1000, layout.scaleMilli % 1000,
             layout.offsetX, layout.offsetY, layout.opacityPercent, static_cast<int>(panel.left),
             static_cast<int>(panel.top), static_cast<int>(panel.right),
             static_cast<int>(panel.bottom));
}

// Logs the resolution line when the size, the profile or the layout changed;
// a fitted panel says where and how large it went, a moved one where it went.
void NotePlacement(uint32_t width, uint32_t height, const PanelPlacement* placement,
                   const PanelLayout& layout) {
  OverlayRenderer& r = overlayRenderer;
  const char* name = placement != nullptr ? placement->row.name : "<none>";
  if (width == r.loggedProfileWidth && height == r.loggedProfileHeight &&
      name == r.loggedProfileName && SamePlacement(layout, r.loggedLayout)) {
    return;
  }
  r.loggedProfileWidth = width;
  r.loggedProfileHeight = height;
  r.loggedProfileName = name;
  r.loggedLayout = layout;
  char placed[160] = {};
  if (placement != nullptr) DescribeLayout(*placement, layout, placed);
  if (placement == nullptr || !placement->fitted) {
    WriteLogFormat("[Overlay] SkillPanel resolution=%ux%u profile=%s%s", width, height, name,
                   placed);
    return;
  }
  const PanelPlacement& p = *placement;
  WriteLogFormat(
      "[Overlay] SkillPanel resolution=%ux%u profile=%s fitted: picture %ux%u at %u,%u, "
      "margins %d,%d, size %d, inset %d%s",
      width, height, name, p.picture.width, p.picture.height, p.picture.left, p.picture.top,
      p.row.rightMargin, p.row.bottomMargin, p.row.size, p.row.inset, placed);
}

// A swap chain of another device presents through the same table; our objects
// belong to the first device and must never be bound to another's context.
bool IsOurDevice(IDXGISwapChain* swapChain) {
  ID3D11Device* device = nullptr;
  if (FAILED(swapChain->GetDevice(__uuidof(ID3D11Device), reinterpret_cast<void**>(&device)))) {
    return false;
  }
  const bool ours = device == overlayRenderer.device;
  ReleaseAndClear(device);
  return ours;
}

// A view of back buffer 0 for this frame only: a back-buffer reference kept
// between frames makes the game's ResizeBuffers fail.
ID3D11RenderTargetView* MakeFrameRenderTarget(IDXGISwapChain* swapChain, bool described,
                                              const DXGI_SWAP_CHAIN_DESC& description) {
  if (described && !swapChainInfoLogged.exchange(true)) {
    WriteLogFormat("[Overlay] SwapChain format=%u buffers=%u size=%ux%u windowed=%u",
                   static_cast<unsigned>(description.BufferDesc.Format), description.BufferCount,
                   description.BufferDesc.Width, description.BufferDesc.Height,
                   description.Windowed ? 1u : 0u);
  }
  ID3D11Texture2D* backBuffer = nullptr;
  HRESULT result =
      swapChain->GetBuffer(0, __uuidof(ID3D11Texture2D), reinterpret_cast<void**>(&backBuffer));
  if (FAILED(result) || backBuffer == nullptr) {
    LogOverlayErrorOnce("[Overlay] GetBuffer(ID3D11Texture2D) failed: 0x%08X",
                        static_cast<unsigned>(result));
    return nullptr;
  }
  ID3D11RenderTargetView* view = nullptr;
  result = overlayRenderer.device->CreateRenderTargetView(backBuffer, nullptr, &view);
  ReleaseAndClear(backBuffer);
  if (FAILED(result) || view == nullptr) {
    LogOverlayErrorOnce("[Overlay] CreateRenderTargetView failed: 0x%08X",
                        static_cast<unsigned>(result));
    return nullptr;
  }
  return view;
}

void BindOverlayState(ID3D11RenderTargetView* target, float width, float height) {
  OverlayRenderer& r = overlayRenderer;
  ID3D11DeviceContext* context = r.context;
  context->OMSetRenderTargets(1, &target, nullptr);
  const D3D11_VIEWPORT viewport = {0, 0, width, height, 0, 1};
  context->RSSetViewports(1, &viewport);
  const FLOAT blendFactor[4] = {0, 0, 0, 0};
  context->OMSetBlendState(r.blendState, blendFactor, 0xFFFFFFFF);
  context->OMSetDepthStencilState(r.depthStencilState, 0);
  context->RSSetState(r.rasterizerState);
  context->IASetInputLayout(r.inputLayout);
  context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
  const UINT stride = sizeof(OverlayVertex);
  const UINT offset = 0;
  context->IASetVertexBuffers(0, 1, &r.vertexBuffer, &stride, &offset);
  context->VSSetShader(r.vertexShader, nullptr, 0);
  context->HSSetShader(nullptr, nullptr, 0);
  context->DSSetShader(nullptr, nullptr, 0);
  context->GSSetShader(nullptr, nullptr, 0);
  context->PSSetShader(r.pixelShader, nullptr, 0);
  context->PSSetSamplers(0, 1, &r.sampler);
  context->PSSetConstantBuffers(0, 1, &r.hdrBuffer);
}

void DrawQuad(ID3D11ShaderResourceView* texture,
              const OverlayVertex (&vertices)[kQuadVertexCount]) {
  OverlayRenderer& r = overlayRenderer;
  if (texture == nullptr) return;
  D3D11_MAPPED_SUBRESOURCE mapped = {};
  if (FAILED(r.context->Map(r.vertexBuffer, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) return;
  std::memcpy(mapped.pData, vertices, sizeof vertices);
  r.context->Unmap(r.vertexBuffer, 0);
  r.context->PSSetShaderResources(0, 1, &texture);
  r.context->Draw(kQuadVertexCount, 0);
}

void DrawPanel(const PanelRects& rects, const OverlaySettings& settings, uint32_t artId,
               float width, float height) {
  ID3D11ShaderResourceView* background = PanelBackground(settings.folder);
  if (background == nullptr) return;  // no panel without its background, icon included
  const PanelLayout& layout = settings.layout;
  DrawRect(background, rects.panel, width, height, LayoutAlpha(kPanelAlpha, layout));
  if (artId == 0) return;
  OverlayRenderer& r = overlayRenderer;
  ID3D11ShaderResourceView* icon =
      CachedArtIcon(settings.folder, artId, r.iconTexture, r.iconTextureArtId, r.iconFailure);
  if (icon != nullptr) DrawRect(icon, rects.icon, width, height, LayoutAlpha(1.0f, layout));
}

void DrawMenuBox(uint32_t width, uint32_t height) {
  PixelRect rect = {};
  float alpha = 1.0f;
  if (!EnsureMenuTexture(width, height, &rect, &alpha)) return;
  DrawRect(overlayRenderer.menuTexture, rect, static_cast<float>(width), static_cast<float>(height),
           alpha);
}

void DrawMessageBox(const OverlayMessage& message, float width, float height) {
  if (EnsureMessageTexture(message)) {
    DrawRect(overlayRenderer.messageTexture, MessageRect(width, height), width, height, 1.0f);
  }
}

}  // namespace

void DrawRect(ID3D11ShaderResourceView* texture, const PixelRect& rect, float width, float height,
              float alpha) {
  OverlayVertex vertices[kQuadVertexCount];
  BuildQuad(rect, width, height, alpha, vertices);
  DrawQuad(texture, vertices);
}

void AddQuad(QuadBatch& batch, ID3D11ShaderResourceView* texture, const PixelRect& rect,
             float width, float height, float alpha) {
  if (texture == nullptr || batch.count >= kQuadBatchCapacity) return;
  batch.textures[batch.count] = texture;
  BuildQuad(rect, width, height, alpha, batch.vertices[batch.count]);
  ++batch.count;
}

void DrawQuadBatch(const QuadBatch& batch) {
  OverlayRenderer& r = overlayRenderer;
  if (batch.count <= 0) return;
  D3D11_MAPPED_SUBRESOURCE mapped = {};
  if (FAILED(r.context->Map(r.vertexBuffer, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) return;
  std::memcpy(mapped.pData, batch.vertices, sizeof batch.vertices[0] * batch.count);
  r.context->Unmap(r.vertexBuffer, 0);
  for (int i = 0; i < batch.count; ++i) {
    r.context->PSSetShaderResources(0, 1, &batch.textures[i]);
    r.context->Draw(kQuadVertexCount, static_cast<UINT>(kQuadVertexCount * i));
  }
}

ID3D11ShaderResourceView* PanelBackground(const char* folder) {
  OverlayRenderer& r = overlayRenderer;
  char path[kUtf8PathSize];
  BuildResourcePath(folder, "bg.png", path);
  if (path[0] == '\0') return nullptr;
  if (r.backgroundTexture != nullptr && std::strcmp(r.backgroundTexturePath, path) == 0) {
    return r.backgroundTexture;
  }
  ReleaseAndClear(r.backgroundTexture);
  r.backgroundTexturePath[0] = '\0';
  if (!LoadPngTextureUnlessFailed(path, &r.backgroundTexture, r.backgroundFailure)) return nullptr;
  std::memcpy(r.backgroundTexturePath, path, sizeof path);
  return r.backgroundTexture;
}

ID3D11ShaderResourceView* CachedArtIcon(const char* folder, uint32_t artId,
                                        ID3D11ShaderResourceView*& texture, uint32_t& textureArtId,
                                        ImageFailure& failure) {
  if (texture != nullptr && textureArtId == artId) return texture;
  ReleaseAndClear(texture);
  textureArtId = 0;
  char fileName[32];
  char path[kUtf8PathSize];
  if (FormatText(fileName, sizeof fileName, "%u.png", artId) < 0) return nullptr;
  BuildResourcePath(folder, fileName, path);
  if (path[0] == '\0' || !LoadPngTextureUnlessFailed(path, &texture, failure)) return nullptr;
  textureArtId = artId;
  return texture;
}

namespace {

// With the render objects' turn: logs the placement, makes what is missing
// and draws.
void DrawWanted(IDXGISwapChain* swapChain, FrameWants& wants,
                const DXGI_SWAP_CHAIN_DESC& description, bool described) {
  if (!wants.menuWanted) ReleaseMenuPicture();  // a closed menu keeps no memory
  if (!MayDrawOn(description.OutputWindow)) return;
  const uint32_t width =
      description.BufferDesc.Width != 0 ? description.BufferDesc.Width : kFallbackWidth;
  const uint32_t height =
      description.BufferDesc.Height != 0 ? description.BufferDesc.Height : kFallbackHeight;
  PanelPlacement placement = {};
  const PanelLayout& layout = wants.settings.layout;
  const bool placed = PlacePanel(width, height, wants.settings.anyResolution, placement);
  if (wants.panelWanted || wants.wheelWanted) {
    NotePlacement(width, height, placed ? &placement : nullptr, layout);
    wants.panelWanted = wants.panelWanted && placed;
    wants.wheelWanted = wants.wheelWanted && placed;
  }
  if (!wants.showMessage && !wants.panelWanted && !wants.wheelWanted && !wants.menuWanted) return;
  if (!EnsureRenderObjects(swapChain, description.OutputWindow) || !IsOurDevice(swapChain)) return;
  ID3D11RenderTargetView* target = MakeFrameRenderTarget(swapChain, described, description);
  if (target == nullptr) return;
  PrepareHdrOutput(swapChain, description, wants.settings);

  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  SetAsideGameState(overlayRenderer.context);
  BindOverlayState(target, w, h);
  const PanelRects rects = LayOutPanel(placement, layout);
  if (wants.panelWanted) DrawPanel(rects, wants.settings, wants.panel.artId, w, h);
  if (wants.wheelWanted) DrawWheel(rects, wants.panel, wants.settings, w, h);
  if (wants.menuWanted) DrawMenuBox(width, height);
  if (wants.showMessage) DrawMessageBox(wants.message, w, h);
  BringBackGameState(overlayRenderer.context);
  ReleaseAndClear(target);
}

}  // namespace

void DrawOverlayFrame(IDXGISwapChain* swapChain) {
  if (RenderObjectsNeedCare() && TakeRenderObjectsTurn()) {
    LookAfterRenderObjects();
    GiveBackRenderObjectsTurn();
  }
  FrameWants wants;
  ReadWhatIsWanted(wants);
  if (!wants.showMessage && !wants.panelWanted && !wants.wheelWanted && !wants.menuWanted) return;
  DXGI_SWAP_CHAIN_DESC description = {};
  const bool described = SUCCEEDED(swapChain->GetDesc(&description));
  // Another program's swap chain passes without taking the turn from the game's.
  const HWND gameWindow = BoundGameWindow();
  if (gameWindow != nullptr && description.OutputWindow != gameWindow) return;
  if (!TakeRenderObjectsTurn()) return;
  if (!overlayRenderer.deviceLost) DrawWanted(swapChain, wants, description, described);
  GiveBackRenderObjectsTurn();
}

}  // namespace artwheel
