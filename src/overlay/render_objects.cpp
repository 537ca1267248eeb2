#include <d3dcompiler.h>

#include <atomic>
#include <cstdarg>

#include "base/log.h"
#include "overlay/destruction_watch.h"
#include "overlay/overlay_layout.h"
#include "overlay/overlay_renderer.h"

namespace artwheel {

OverlayRenderer overlayRenderer;

namespace {

std::atomic<bool> overlayErrorLogged{false};

// Whose turn it is with the render objects; never waited for.
std::atomic<bool> renderObjectsBusy{false};
// Read without the turn: the window the objects draw on (null without
// objects), and a device loss noted by a Present on any thread.
std::atomic<HWND> boundWindow{nullptr};
std::atomic<IDXGISwapChain*> lostSwapChain{nullptr};
std::atomic<HRESULT> lostResult{S_OK};

// Attached to the swap chain the objects were made for: its release tells us
// the game let go of that swap chain.
DestructionWatch swapChainWatch;
constexpr GUID kSwapChainWatchId = {
    0x3d0c8e71, 0x94a2, 0x4b5f, {0x8e, 0x13, 0x62, 0xc4, 0x0b, 0x7d, 0x95, 0x2e}};

// Without private data on the swap chain we cannot tell a replaced device
// from a second one; the objects then stay with the first device as before.
void WatchSwapChain(OverlayRenderer& r, IDXGISwapChain* swapChain) {
  if (SUCCEEDED(swapChain->SetPrivateDataInterface(kSwapChainWatchId, &swapChainWatch))) {
    r.watchedSwapChain = swapChain;
  }
}

// A visible window of this process, or a child of one.
bool IsVisibleWindowOfProcess(HWND window) {
  if (window == nullptr || !IsWindowVisible(window)) return false;
  DWORD process = 0;
  GetWindowThreadProcessId(GetAncestor(window, GA_ROOT), &process);
  return process == GetCurrentProcessId();
}

// The game re-creates its device on the window it presented to before; a
// launcher, a capture tool or another overlay presents to a window of its
// own. Only when the game's window is gone, or before the first frame, is
// any visible window of the process taken as the game's.
bool IsGamesWindow(const OverlayRenderer& r, HWND window) {
  if (r.gameWindow != nullptr && IsWindow(r.gameWindow)) return window == r.gameWindow;
  return IsVisibleWindowOfProcess(window);
}

// The pixel shader writes every colour in the frame's encoding (hdr_output.h):
// hdr.x 0 the stored sRGB values, 1 scRGB, 2 PQ; hdr.y the scale of linear
// light. Alpha is never converted.
constexpr char OverlayShaderSource[] =
    "struct VS_IN { float2 pos : POSITION; float2 uv : TEXCOORD0; float alpha : COLOR0; };"
    "struct PS_IN { float4 pos : SV_POSITION; float2 uv : TEXCOORD0; float alpha : COLOR0; };"
    "PS_IN VSMain(VS_IN input) {  PS_IN output;  output.pos = float4(input.pos, 0.0f, 1.0f);"
    "  output.uv = input.uv;  output.alpha = input.alpha;  return output;}"
    "Texture2D tex0 : register(t0);SamplerState samp0 : register(s0);"
    "cbuffer HdrOutput : register(b0) { float4 hdr; };"
    "float4 PSMain(PS_IN input) : SV_Target {  float4 color = tex0.Sample(samp0, input.uv);"
    "  color.a *= input.alpha;"
    "  if (hdr.x > 0.5f) {    float3 c = saturate(color.rgb);"
    "    float3 curve = pow((c + 0.055f) / 1.055f, 2.4f);    float3 light = c / 12.92f;"
    "    if (c.r > 0.04045f) light.r = curve.r;    if (c.g > 0.04045f) light.g = curve.g;"
    "    if (c.b > 0.04045f) light.b = curve.b;    light = light * hdr.y;"
    "    if (hdr.x > 1.5f) {"
    "      float3 wide = float3(dot(float3(0.6274040f, 0.3292820f, 0.0433136f), light),"
    "                           dot(float3(0.0690970f, 0.9195400f, 0.0113612f), light),"
    "                           dot(float3(0.0163916f, 0.0880132f, 0.8955950f), light));"
    "      float3 p = pow(max(wide, 0.0f), 0.1593017578125f);"
    "      light = pow((0.8359375f + 18.8515625f * p) / (1.0f + 18.6875f * p), 78.84375f);    }"
    "    color.rgb = light;  }"
    "  return color;}";

const D3D11_INPUT_ELEMENT_DESC kVertexLayout[] = {
    {"POSITION", 0, DXGI_FORMAT_R32G32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, 0, 8, D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"COLOR", 0, DXGI_FORMAT_R32_FLOAT, 0, 16, D3D11_INPUT_PER_VERTEX_DATA, 0},
};

// Loaded once: a missing library or entry point is logged once and the
// overlay stays off rather than trying again on every frame.
pD3DCompile LoadCompiler() {
  static pD3DCompile compile = nullptr;
  static bool tried = false;
  if (tried) return compile;
  tried = true;
  HMODULE library = LoadLibraryA("D3DCOMPILER_47.dll");
  if (library == nullptr) {
    WriteLogFormat("[Overlay] Could not load D3DCOMPILER_47.dll (error %lu); overlay off",
                   GetLastError());
    return nullptr;
  }
  compile =
      reinterpret_cast<pD3DCompile>(reinterpret_cast<void*>(GetProcAddress(library, "D3DCompile")));
  if (compile == nullptr)
    WriteLogLine("[Overlay] D3DCOMPILER_47.dll has no D3DCompile; overlay off");
  return compile;
}

// False when the compile failed; the compiler's message, if any, is logged once.
bool Compile(pD3DCompile compile, const char* entry, const char* target, ID3DBlob** code) {
  ID3DBlob* errors = nullptr;
  const HRESULT result =
      compile(OverlayShaderSource, sizeof OverlayShaderSource - 1, nullptr, nullptr, nullptr, entry,
              target, D3DCOMPILE_ENABLE_STRICTNESS, 0, code, &errors);
  if (FAILED(result) && errors != nullptr) {
    WriteLogFormat("[Overlay] Shader compile failed: %.*s",
                   static_cast<int>(errors->GetBufferSize()),
                   static_cast<const char*>(errors->GetBufferPointer()));
  } else if (FAILED(result) || *code == nullptr) {
    WriteLogFormat(
        "[Overlay] Shader compile failed without a message: 0x%08X; overlay off on "
        "this device",
        static_cast<unsigned>(result));
  }
  ReleaseAndClear(errors);
  return SUCCEEDED(result) && *code != nullptr;
}

bool MakeShaders(OverlayRenderer& r) {
  ReleaseAndClear(r.vertexShader);
  ReleaseAndClear(r.pixelShader);
  ReleaseAndClear(r.inputLayout);
  const pD3DCompile compile = LoadCompiler();
  if (compile == nullptr) return false;
  ID3DBlob* vertexCode = nullptr;
  ID3DBlob* pixelCode = nullptr;
  if (!Compile(compile, "VSMain", "vs_4_0", &vertexCode) ||
      !Compile(compile, "PSMain", "ps_4_0", &pixelCode)) {
    ReleaseAndClear(vertexCode);
    ReleaseAndClear(pixelCode);
    return false;
  }
  HRESULT result = r.device->CreateVertexShader(
      vertexCode->GetBufferPointer(), vertexCode->GetBufferSize(), nullptr, &r.vertexShader);
  if (SUCCEEDED(result)) {
    result = r.device->CreatePixelShader(pixelCode->GetBufferPointer(), pixelCode->GetBufferSize(),
                                         nullptr, &r.pixelShader);
  }
  if (SUCCEEDED(result)) {
    result = r.device->CreateInputLayout(kVertexLayout, 3, vertexCode->GetBufferPointer(),
                                         vertexCode->GetBufferSize(), &r.inputLayout);
  }
  ReleaseAndClear(vertexCode);
  ReleaseAndClear(pixelCode);
  if (FAILED(result)) {
    WriteLogFormat("[Overlay] Shader resource creation failed: 0x%08X",
                   static_cast<unsigned>(result));
    return false;
  }
  return true;
}

bool MakeVertexBuffer(OverlayRenderer& r) {
  D3D11_BUFFER_DESC description = {};
  description.ByteWidth = sizeof(OverlayVertex) * kQuadVertexCount * kQuadBatchCapacity;
  description.Usage = D3D11_USAGE_DYNAMIC;
  description.BindFlags = D3D11_BIND_VERTEX_BUFFER;
  description.CPUAccessFlags = D3D11_CPU_ACCESS_WRITE;
  return SUCCEEDED(r.device->CreateBuffer(&description, nullptr, &r.vertexBuffer));
}

// Zero: the stored values, until the first frame's encoding is known.
bool MakeHdrBuffer(OverlayRenderer& r) {
  D3D11_BUFFER_DESC description = {};
  description.ByteWidth = sizeof(HdrConstants);
  description.Usage = D3D11_USAGE_DEFAULT;
  description.BindFlags = D3D11_BIND_CONSTANT_BUFFER;
  const HdrConstants zero = {};
  const D3D11_SUBRESOURCE_DATA data = {&zero, 0, 0};
  r.hdrBufferValues = zero;
  return SUCCEEDED(r.device->CreateBuffer(&description, &data, &r.hdrBuffer));
}

bool MakeWhiteTexture(OverlayRenderer& r) {
  D3D11_TEXTURE2D_DESC description = {};
  description.Width = description.Height = 1;
  description.MipLevels = description.ArraySize = 1;
  description.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
  description.SampleDesc.Count = 1;
  description.Usage = D3D11_USAGE_IMMUTABLE;
  description.BindFlags = D3D11_BIND_SHADER_RESOURCE;
  const uint32_t white = 0xFFFFFFFF;
  const D3D11_SUBRESOURCE_DATA data = {&white, sizeof white, 0};
  ID3D11Texture2D* texture = nullptr;
  if (FAILED(r.device->CreateTexture2D(&description, &data, &texture))) return false;
  const HRESULT result = r.device->CreateShaderResourceView(texture, nullptr, &r.whiteTexture);
  ReleaseAndClear(texture);
  return SUCCEEDED(result);
}

bool MakeSampler(OverlayRenderer& r) {
  D3D11_SAMPLER_DESC description = {};
  description.Filter = D3D11_FILTER_MIN_MAG_MIP_LINEAR;
  description.AddressU = D3D11_TEXTURE_ADDRESS_CLAMP;
  description.AddressV = D3D11_TEXTURE_ADDRESS_CLAMP;
  description.AddressW = D3D11_TEXTURE_ADDRESS_CLAMP;
  return SUCCEEDED(r.device->CreateSamplerState(&description, &r.sampler));
}

bool MakeBlendState(OverlayRenderer& r) {
  D3D11_BLEND_DESC description = {};
  D3D11_RENDER_TARGET_BLEND_DESC& target = description.RenderTarget[0];
  target.BlendEnable = TRUE;
  target.SrcBlend = D3D11_BLEND_SRC_ALPHA;
  target.DestBlend = D3D11_BLEND_INV_SRC_ALPHA;
  target.BlendOp = D3D11_BLEND_OP_ADD;
  target.SrcBlendAlpha = D3D11_BLEND_ONE;
  target.DestBlendAlpha = D3D11_BLEND_INV_SRC_ALPHA;
  target.BlendOpAlpha = D3D11_BLEND_OP_ADD;
  target.RenderTargetWriteMask = D3D11_COLOR_WRITE_ENABLE_ALL;
  return SUCCEEDED(r.device->CreateBlendState(&description, &r.blendState));
}

bool MakeFixedStates(OverlayRenderer& r) {
  D3D11_RASTERIZER_DESC raster = {};
  raster.FillMode = D3D11_FILL_SOLID;
  raster.CullMode = D3D11_CULL_NONE;
  raster.DepthClipEnable = TRUE;
  D3D11_DEPTH_STENCIL_DESC depth = {};
  depth.DepthEnable = FALSE;
  depth.DepthWriteMask = D3D11_DEPTH_WRITE_MASK_ZERO;
  depth.DepthFunc = D3D11_COMPARISON_ALWAYS;
  depth.StencilEnable = FALSE;
  if (r.rasterizerState == nullptr &&
      FAILED(r.device->CreateRasterizerState(&raster, &r.rasterizerState))) {
    return false;
  }
  return r.depthStencilState != nullptr ||
         SUCCEEDED(r.device->CreateDepthStencilState(&depth, &r.depthStencilState));
}

bool TakeDevice(OverlayRenderer& r, IDXGISwapChain* swapChain, HWND outputWindow) {
  const HRESULT result =
      swapChain->GetDevice(__uuidof(ID3D11Device), reinterpret_cast<void**>(&r.device));
  if (FAILED(result) || r.device == nullptr) {
    r.device = nullptr;
    LogOverlayErrorOnce("[Overlay] GetDevice failed: 0x%08X", static_cast<unsigned>(result));
    return false;
  }
  r.device->GetImmediateContext(&r.context);
  WatchSwapChain(r, swapChain);
  r.gameWindow = outputWindow;
  boundWindow.store(outputWindow, std::memory_order_release);
  return r.context != nullptr;
}

void ReleaseDeviceObjects(OverlayRenderer& r) {
  ReleaseAndClear(r.vertexShader);
  ReleaseAndClear(r.pixelShader);
  ReleaseAndClear(r.inputLayout);
  ReleaseAndClear(r.vertexBuffer);
  ReleaseAndClear(r.sampler);
  ReleaseAndClear(r.blendState);
  ReleaseAndClear(r.rasterizerState);
  ReleaseAndClear(r.depthStencilState);
  ReleaseAndClear(r.hdrBuffer);
  r.hdrBufferValues = {};
  ReleaseAndClear(r.whiteTexture);
  r.shadersFailed = false;
  ReleaseMessagePicture();
  ReleaseMenuPicture();
  ReleaseAndClear(r.backgroundTexture);
  r.backgroundTexturePath[0] = '\0';
  ReleaseAndClear(r.iconTexture);
  r.iconTextureArtId = 0;
  r.backgroundFailure = {};
  r.iconFailure = {};
  for (int slot = 0; slot < kWheelSlotCount; ++slot) {
    ReleaseAndClear(r.slotTextures[slot]);
    r.slotTextureArtIds[slot] = 0;
    r.slotFailures[slot] = {};
  }
  ReleaseAndClear(r.context);
  ReleaseAndClear(r.device);
  r.watchedSwapChain = nullptr;
  r.deviceLost = false;
  boundWindow.store(nullptr, std::memory_order_release);
}

void TakeInDeviceLoss(OverlayRenderer& r) {
  IDXGISwapChain* lost = lostSwapChain.exchange(nullptr, std::memory_order_acq_rel);
  if (lost == nullptr || lost != r.watchedSwapChain || r.deviceLost) return;
  r.deviceLost = true;
  WriteLogFormat("[Overlay] Device lost (0x%08X); nothing more is drawn on it",
                 static_cast<unsigned>(lostResult.load(std::memory_order_relaxed)));
}

}  // namespace

bool MayDrawOn(HWND outputWindow) {
  const OverlayRenderer& r = overlayRenderer;
  return r.device != nullptr ? outputWindow == r.gameWindow : IsGamesWindow(r, outputWindow);
}

bool TakeRenderObjectsTurn() {
  return !renderObjectsBusy.exchange(true, std::memory_order_acquire);
}

void GiveBackRenderObjectsTurn() { renderObjectsBusy.store(false, std::memory_order_release); }

HWND BoundGameWindow() { return boundWindow.load(std::memory_order_acquire); }

bool RenderObjectsNeedCare() {
  return lostSwapChain.load(std::memory_order_acquire) != nullptr ||
         (boundWindow.load(std::memory_order_acquire) != nullptr && !swapChainWatch.Held());
}

void LookAfterRenderObjects() {
  OverlayRenderer& r = overlayRenderer;
  TakeInDeviceLoss(r);
  if (r.watchedSwapChain == nullptr || swapChainWatch.Held()) return;
  ReleaseDeviceObjects(r);
  WriteLogLine("[Overlay] Game swap chain released; overlay objects released with it");
}

void NoteDeviceLost(IDXGISwapChain* swapChain, HRESULT result) {
  lostResult.store(result, std::memory_order_relaxed);
  lostSwapChain.store(swapChain, std::memory_order_release);
}

void LogOverlayErrorOnce(const char* format, ...) {
  if (overlayErrorLogged.exchange(true)) return;
  va_list args{};
  va_start(args, format);
  WriteLogFormatV(format, args);
  va_end(args);
}

bool EnsureRenderObjects(IDXGISwapChain* swapChain, HWND outputWindow) {
  OverlayRenderer& r = overlayRenderer;
  if (r.device == nullptr && !TakeDevice(r, swapChain, outputWindow)) return false;
  if (r.context == nullptr) {
    r.device->GetImmediateContext(&r.context);
    if (r.context == nullptr) return false;
  }
  if (r.shadersFailed) return false;
  if ((r.vertexShader == nullptr || r.pixelShader == nullptr || r.inputLayout == nullptr) &&
      !MakeShaders(r)) {
    r.shadersFailed = true;
    return false;
  }
  if (r.vertexBuffer == nullptr && !MakeVertexBuffer(r)) return false;
  if (r.sampler == nullptr && !MakeSampler(r)) return false;
  if (r.blendState == nullptr && !MakeBlendState(r)) return false;
  if (r.hdrBuffer == nullptr && !MakeHdrBuffer(r)) return false;
  if (r.whiteTexture == nullptr && !MakeWhiteTexture(r)) return false;
  return MakeFixedStates(r);
}

void BuildResourcePath(const char* folder, const char* fileName, char (&path)[kUtf8PathSize]) {
  static bool tooLongLogged = false;
  if (BuildResourcePathFrom(folder, fileName, path, sizeof path) || folder[0] == '\0' ||
      tooLongLogged) {
    return;
  }
  tooLongLogged = true;
  WriteLogFormat(
      "[Overlay] Image paths in %sresources are longer than the %u characters Windows allows; no "
      "panel",
      folder, static_cast<unsigned>(kPathUnits - 1));
}

}  // namespace artwheel
