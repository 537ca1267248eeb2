#pragma once
// The render thread's objects: made lazily inside Present from the game's own
// device, kept until the game lets go of the swap chain they were made for.
#include <d3d11.h>

#include <cstdint>

#include "base/text_format.h"
#include "overlay/hdr_output.h"
#include "overlay/image_retry.h"
#include "overlay/overlay_layout.h"
#include "overlay/overlay_state.h"

namespace artwheel {

struct OverlayRenderer {
  ID3D11Device* device = nullptr;
  ID3D11DeviceContext* context = nullptr;
  ID3D11VertexShader* vertexShader = nullptr;
  ID3D11PixelShader* pixelShader = nullptr;
  ID3D11InputLayout* inputLayout = nullptr;
  ID3D11Buffer* vertexBuffer = nullptr;
  ID3D11SamplerState* sampler = nullptr;
  ID3D11BlendState* blendState = nullptr;
  // A game may leave culling, scissoring or depth testing on; the overlay
  // draws with its own plain states and puts the game's back afterwards.
  ID3D11RasterizerState* rasterizerState = nullptr;
  ID3D11DepthStencilState* depthStencilState = nullptr;
  // Shaders that could not be compiled or created are not tried again on the
  // same device: the overlay stays off on it.
  bool shadersFailed = false;
  // The pixel shader's HDR numbers (hdr_output.h), written again only when
  // the encoding or the paper white changes.
  ID3D11Buffer* hdrBuffer = nullptr;
  HdrConstants hdrBufferValues = {};
  // A white pixel: the wheel's ring around the equipped slot.
  ID3D11ShaderResourceView* whiteTexture = nullptr;
  ID3D11ShaderResourceView* messageTexture = nullptr;
  wchar_t messageTextureText[kMessageCapacity] = {};
  // The settings menu's picture, for the menu's revision at a frame size.
  ID3D11ShaderResourceView* menuTexture = nullptr;
  uint32_t menuTextureRevision = 0;
  uint32_t menuTextureWidth = 0;
  uint32_t menuTextureHeight = 0;
  Language messageTextureLanguage = Language::kEn;
  struct IWICImagingFactory* wicFactory = nullptr;

  // Image caches of the frame drawing, keyed by path and by art id.
  ID3D11ShaderResourceView* backgroundTexture = nullptr;
  char backgroundTexturePath[kUtf8PathSize] = {};
  ID3D11ShaderResourceView* iconTexture = nullptr;
  uint32_t iconTextureArtId = 0;
  // An image that failed to load is not tried again on every frame: only once
  // its file changed (looked at once a second), while another program holds
  // it (once a second), or when another file is wanted.
  ImageFailure backgroundFailure;
  ImageFailure iconFailure;
  // The wheel's icons, one per slot, kept while the slot's art is unchanged.
  ID3D11ShaderResourceView* slotTextures[kWheelSlotCount] = {};
  uint32_t slotTextureArtIds[kWheelSlotCount] = {};
  ImageFailure slotFailures[kWheelSlotCount];
  // The swap chain the objects were made for (identity only, no reference),
  // and whether its device was lost: nothing more is drawn on that device.
  IDXGISwapChain* watchedSwapChain = nullptr;
  bool deviceLost = false;
  // The window the game presents to: kept after its swap chain is released,
  // so that the game's next swap chain is told from another program's.
  HWND gameWindow = nullptr;
  uint32_t loggedProfileWidth = 0;
  uint32_t loggedProfileHeight = 0;
  const char* loggedProfileName = nullptr;
  PanelLayout loggedLayout;
};

extern OverlayRenderer overlayRenderer;

// The render side's failures are logged once per process, whichever comes first.
void LogOverlayErrorOnce(const char* format, ...) ARTWHEEL_PRINTF(1, 2);

// The render objects are worked on by one thread at a time: a Present on
// another thread meanwhile is not drawn on and never waits. False when
// another thread has the turn.
bool TakeRenderObjectsTurn();
void GiveBackRenderObjectsTurn();
// The window of the swap chain the objects were made for; null without
// objects. Read without the turn, to pass other swap chains through.
HWND BoundGameWindow();
// True when the objects wait for a look under the turn: their swap chain was
// released or reported its device lost. Read without the turn.
bool RenderObjectsNeedCare();

// With the turn: whether a swap chain presenting to this window is the game's.
bool MayDrawOn(HWND outputWindow);
// With the turn: makes the objects on the device of this swap chain,
// presenting to this window, when they do not exist yet.
bool EnsureRenderObjects(IDXGISwapChain* swapChain, HWND outputWindow);
// With the turn. Once the game released the swap chain the objects were made
// for, they are released too, so the game's old device is freed and the next
// frame builds them on the game's next device. A device loss noted meanwhile
// is taken in first.
void LookAfterRenderObjects();
// Any thread: a Present of this swap chain reported its device removed or reset.
void NoteDeviceLost(IDXGISwapChain* swapChain, HRESULT result);
// The settings menu's picture for this frame size, drawn again only when the
// menu or the size changed; where it goes and at which alpha (the panel's
// opacity). False when there is no picture.
bool EnsureMenuTexture(uint32_t frameWidth, uint32_t frameHeight, PixelRect* rect, float* alpha);
// The menu's texture and the bitmap it is drawn in: let go with the other
// objects, and in the first frame after the menu closed.
void ReleaseMenuPicture();
bool EnsureMessageTexture(const OverlayMessage& message);
// A texture of `width` x `height` 32-bit pixels, rows top down, and its view.
HRESULT MakePixelTexture(OverlayRenderer& r, const void* pixels, UINT width, UINT height,
                         DXGI_FORMAT format, ID3D11ShaderResourceView** view);
// New pixels for a texture so made, of the size it was made with.
void ReplaceTexturePixels(OverlayRenderer& r, ID3D11ShaderResourceView* view, const void* pixels,
                          UINT width);
// The message's texture and its bitmap, let go with the other objects.
void ReleaseMessagePicture();
// Loads the PNG into a texture unless this path failed before and its file has not changed
// since (or, held by another program, a second has not passed); a failure is
// remembered in `failure`.
bool LoadPngTextureUnlessFailed(const char* utf8Path, ID3D11ShaderResourceView** view,
                                ImageFailure& failure);
// The image's path in the resources folder of the library's folder; an empty
// text when the folder is not known or the path is longer than the system
// takes (said once).
void BuildResourcePath(const char* folder, const char* fileName, char (&path)[kUtf8PathSize]);

// With the turn, once the objects exist: the encoding of this frame for the
// swap chain's back buffer; logs a change and hands the shader its numbers.
void PrepareHdrOutput(IDXGISwapChain* swapChain, const DXGI_SWAP_CHAIN_DESC& description,
                      const OverlaySettings& settings);

// The frame's drawing, shared by the panel and the wheel (render thread).
void DrawRect(ID3D11ShaderResourceView* texture, const PixelRect& rect, float width, float height,
              float alpha);
// Rectangles drawn with one write of the vertex buffer: on some stacks each
// write costs more than the drawing.
// Per slot its tile and icon, and the four sides of the equipped slot's ring.
inline constexpr int kQuadBatchCapacity = 2 * kWheelSlotCount + 4;
struct QuadBatch {
  ID3D11ShaderResourceView* textures[kQuadBatchCapacity];
  OverlayVertex vertices[kQuadBatchCapacity][kQuadVertexCount];
  int count;
};
// Adds a rectangle; ignored when the texture is missing or the batch is full.
void AddQuad(QuadBatch& batch, ID3D11ShaderResourceView* texture, const PixelRect& rect,
             float width, float height, float alpha);
void DrawQuadBatch(const QuadBatch& batch);
// The cached background; null when bg.png is missing or broken.
ID3D11ShaderResourceView* PanelBackground(const char* folder);
// The icon of the art, kept in `texture` under `textureArtId`; null when its
// file is missing or broken.
ID3D11ShaderResourceView* CachedArtIcon(const char* folder, uint32_t artId,
                                        ID3D11ShaderResourceView*& texture, uint32_t& textureArtId,
                                        ImageFailure& failure);

template <typename T>
void ReleaseAndClear(T*& object) {
  if (object != nullptr) object->Release();
  object = nullptr;
}

}  // namespace artwheel
