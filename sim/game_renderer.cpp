#include "game_renderer.h"

#include <d3d11.h>
#include <d3dcompiler.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "overlay/destruction_watch.h"
#include "png_writer.h"

namespace sim {
namespace {

// The game's frame before any overlay: a flat colour the tests know.
constexpr float kClearColour[4] = {32 / 255.0f, 64 / 255.0f, 96 / 255.0f, 1.0f};

template <typename T>
void Release(T*& object) {
  if (object != nullptr) object->Release();
  object = nullptr;
}

// The pipeline state the game binds before every Present. Everything the
// overlay might touch holds something of the game's, so that any state the
// overlay leaves behind shows as a mismatch.
struct KnownState {
  ID3D11RenderTargetView* targets[2] = {};
  ID3D11DepthStencilView* depthView = nullptr;
  ID3D11BlendState* blend = nullptr;
  ID3D11DepthStencilState* depthState = nullptr;
  ID3D11RasterizerState* rasterizer = nullptr;
  ID3D11InputLayout* layout = nullptr;
  ID3D11Buffer* vertexBuffer = nullptr;
  ID3D11VertexShader* vertexShader = nullptr;
  ID3D11PixelShader* pixelShader = nullptr;
  ID3D11SamplerState* sampler = nullptr;
  ID3D11ShaderResourceView* resource = nullptr;
};

constexpr FLOAT kBlendFactor[4] = {0.25f, 0.5f, 0.75f, 1.0f};
constexpr UINT kSampleMask = 0x00FF00FF;
constexpr UINT kStencilRef = 3;
constexpr UINT kStride = 8;
constexpr UINT kOffset = 4;

struct Capture {
  std::vector<unsigned char> rgba;
  uint32_t width = 0;
  uint32_t height = 0;
};

struct Renderer {
  std::mutex mutex;
  std::condition_variable changed;
  std::thread thread;
  bool running = false;
  bool stop = false;

  // Requests from the script, served by the render thread.
  bool resizeRequested = false;
  uint32_t requestedWidth = 0;
  uint32_t requestedHeight = 0;
  HRESULT resizeResult = S_OK;
  bool resizeDone = false;
  std::string screenshotName;
  bool screenshotDone = false;
  bool referencesRequested = false;
  ULONG references = 0;
  bool secondRequested = false;
  uint32_t secondWidth = 0;
  uint32_t secondHeight = 0;
  std::string secondError;
  bool secondDone = false;
  std::string secondScreenshotName;
  bool syncRequested = false;
  uint32_t syncInterval = 0;
  HRESULT syncResult = S_OK;
  bool syncDone = false;
  uint32_t framesPerSecond = 60;
  bool recordTimings = true;
  bool recreateRequested = false;
  bool recreateDone = false;
  std::string recreateError;
  bool faultyPresent = false;  // set before the window: the wrapper sits below any hook
  bool oldReferencesRequested = false;
  long oldReferences = -1;

  // Results.
  uint64_t frames = 0;
  uint64_t mismatches = 0;
  std::string firstMismatch;
  uint64_t presentFailures = 0;
  HRESULT firstFailure = S_OK;
  std::vector<double> presentMicroseconds;
  Capture capture;
  std::string startError;

  // Render thread only.
  HWND window = nullptr;
  ID3D11Device* device = nullptr;
  ID3D11DeviceContext* context = nullptr;
  IDXGISwapChain* swapChain = nullptr;
  ID3D11Texture2D* extraTarget = nullptr;
  ID3D11Texture2D* depthTexture = nullptr;
  KnownState state;
  uint32_t width = 0;
  uint32_t height = 0;

  // The device before the last re-creation: not referenced by the game, only
  // watched for its destruction.
  ID3D11Device* oldDevice = nullptr;
  artwheel::DestructionWatch* oldDeviceWatch = nullptr;

  // The second device, its window and swap chain.
  HWND secondWindow = nullptr;
  ID3D11Device* secondDevice = nullptr;
  ID3D11DeviceContext* secondContext = nullptr;
  IDXGISwapChain* secondSwapChain = nullptr;
  ID3D11RenderTargetView* secondTarget = nullptr;
};

Renderer renderer;

constexpr GUID kDestructionWatchId = {
    0x6a1f3c52, 0x2b7e, 0x4d0a, {0x9c, 0x41, 0x7e, 0x15, 0x88, 0x3a, 0x20, 0xd4}};

LRESULT CALLBACK GameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateGameWindow(uint32_t width, uint32_t height) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = GameWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"SimGameWindow";
  RegisterClassExW(&windowClass);
  // A zero size asks DXGI for the window's client size: a borderless window
  // of no size makes that 0 x 0.
  const DWORD style = (width == 0 || height == 0) ? WS_POPUP : WS_OVERLAPPEDWINDOW;
  RECT area = {0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
  AdjustWindowRect(&area, style, FALSE);
  // Never the active window: keyboard input of other programs on the shared
  // desktop must not go to a window whose program may end before taking it in.
  HWND window = CreateWindowExW(WS_EX_NOACTIVATE, L"SimGameWindow", L"sekiro (simulated)", style, 0,
                                0, area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
  if (window != nullptr) ShowWindow(window, SW_SHOWNOACTIVATE);
  return window;
}

// The game's Present through a wrapper installed in the shared swap-chain
// method table before anything else patches it, so that an injected failure is
// what a hook above it sees from "the driver".
using PresentFn = HRESULT(STDMETHODCALLTYPE*)(IDXGISwapChain*, UINT, UINT);
constexpr int kPresentSlot = 8;
std::atomic<PresentFn> driverPresent{nullptr};
std::atomic<IDXGISwapChain*> failingSwapChain{nullptr};
std::atomic<int> failuresLeft{0};
std::atomic<HRESULT> injectedFailure{S_OK};

HRESULT STDMETHODCALLTYPE FaultyPresent(IDXGISwapChain* swapChain, UINT sync, UINT flags) {
  if (swapChain == failingSwapChain.load() && failuresLeft.load() > 0) {
    --failuresLeft;
    return injectedFailure.load();
  }
  return driverPresent.load()(swapChain, sync, flags);
}

void WrapPresent(IDXGISwapChain* swapChain) {
  void** table = *reinterpret_cast<void***>(swapChain);
  if (table[kPresentSlot] == reinterpret_cast<void*>(&FaultyPresent)) return;
  DWORD old = 0;
  if (!VirtualProtect(&table[kPresentSlot], sizeof(void*), PAGE_EXECUTE_READWRITE, &old)) return;
  driverPresent.store(reinterpret_cast<PresentFn>(table[kPresentSlot]));
  table[kPresentSlot] = reinterpret_cast<void*>(&FaultyPresent);
  VirtualProtect(&table[kPresentSlot], sizeof(void*), old, &old);
}

bool CreateDeviceAndSwapChain(HWND window, uint32_t width, uint32_t height,
                              IDXGISwapChain** swapChain, ID3D11Device** device,
                              ID3D11DeviceContext** context) {
  DXGI_SWAP_CHAIN_DESC description = {};
  description.BufferDesc.Width = width;
  description.BufferDesc.Height = height;
  description.BufferDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
  description.SampleDesc.Count = 1;
  description.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
  description.BufferCount = 1;
  description.OutputWindow = window;
  description.Windowed = TRUE;
  // One buffer that keeps what was drawn after Present, so screenshots see the overlay.
  description.SwapEffect = DXGI_SWAP_EFFECT_SEQUENTIAL;
  const D3D_FEATURE_LEVEL level = D3D_FEATURE_LEVEL_11_0;
  for (D3D_DRIVER_TYPE driver : {D3D_DRIVER_TYPE_HARDWARE, D3D_DRIVER_TYPE_WARP}) {
    if (SUCCEEDED(D3D11CreateDeviceAndSwapChain(nullptr, driver, nullptr, 0, &level, 1,
                                                D3D11_SDK_VERSION, &description, swapChain, device,
                                                nullptr, context))) {
      return true;
    }
  }
  return false;
}

ID3DBlob* CompileShader(const char* source, const char* entry, const char* target) {
  ID3DBlob* code = nullptr;
  ID3DBlob* errors = nullptr;
  D3DCompile(source, std::strlen(source), nullptr, nullptr, nullptr, entry, target, 0, 0, &code,
             &errors);
  Release(errors);
  return code;
}

bool CreateSizedObjects(Renderer& r) {
  KnownState& s = r.state;
  ID3D11Texture2D* backBuffer = nullptr;
  if (FAILED(r.swapChain->GetBuffer(0, __uuidof(ID3D11Texture2D),
                                    reinterpret_cast<void**>(&backBuffer)))) {
    return false;
  }
  D3D11_TEXTURE2D_DESC description = {};
  backBuffer->GetDesc(&description);
  r.width = description.Width;
  r.height = description.Height;
  r.device->CreateRenderTargetView(backBuffer, nullptr, &s.targets[0]);
  Release(backBuffer);
  description.BindFlags = D3D11_BIND_RENDER_TARGET;
  r.device->CreateTexture2D(&description, nullptr, &r.extraTarget);
  if (r.extraTarget != nullptr)
    r.device->CreateRenderTargetView(r.extraTarget, nullptr, &s.targets[1]);
  description.Format = DXGI_FORMAT_D24_UNORM_S8_UINT;
  description.BindFlags = D3D11_BIND_DEPTH_STENCIL;
  r.device->CreateTexture2D(&description, nullptr, &r.depthTexture);
  if (r.depthTexture != nullptr)
    r.device->CreateDepthStencilView(r.depthTexture, nullptr, &s.depthView);
  return s.targets[0] != nullptr && s.targets[1] != nullptr && s.depthView != nullptr;
}

void ReleaseSizedObjects(Renderer& r) {
  r.context->ClearState();
  Release(r.state.targets[0]);
  Release(r.state.targets[1]);
  Release(r.state.depthView);
  Release(r.extraTarget);
  Release(r.depthTexture);
}

bool CreateFixedObjects(Renderer& r) {
  KnownState& s = r.state;
  const char* source =
      "float4 VS(float2 p : POSITION) : SV_Position { return float4(p, 0, 1); }"
      "Texture2D t : register(t0); SamplerState k : register(s0);"
      "float4 PS(float4 p : SV_Position) : SV_Target { return t.Sample(k, float2(0.5, 0.5)); }";
  ID3DBlob* vertexCode = CompileShader(source, "VS", "vs_4_0");
  ID3DBlob* pixelCode = CompileShader(source, "PS", "ps_4_0");
  if (vertexCode == nullptr || pixelCode == nullptr) return false;
  r.device->CreateVertexShader(vertexCode->GetBufferPointer(), vertexCode->GetBufferSize(), nullptr,
                               &s.vertexShader);
  r.device->CreatePixelShader(pixelCode->GetBufferPointer(), pixelCode->GetBufferSize(), nullptr,
                              &s.pixelShader);
  const D3D11_INPUT_ELEMENT_DESC element = {
      "POSITION", 0, DXGI_FORMAT_R32G32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0};
  r.device->CreateInputLayout(&element, 1, vertexCode->GetBufferPointer(),
                              vertexCode->GetBufferSize(), &s.layout);
  Release(vertexCode);
  Release(pixelCode);

  D3D11_BUFFER_DESC buffer = {};
  buffer.ByteWidth = 64;
  buffer.BindFlags = D3D11_BIND_VERTEX_BUFFER;
  r.device->CreateBuffer(&buffer, nullptr, &s.vertexBuffer);
  D3D11_SAMPLER_DESC sampler = {};
  sampler.Filter = D3D11_FILTER_MIN_MAG_MIP_POINT;
  sampler.AddressU = sampler.AddressV = sampler.AddressW = D3D11_TEXTURE_ADDRESS_WRAP;
  sampler.MaxLOD = D3D11_FLOAT32_MAX;
  r.device->CreateSamplerState(&sampler, &s.sampler);
  D3D11_BLEND_DESC blend = {};
  blend.RenderTarget[0].RenderTargetWriteMask = D3D11_COLOR_WRITE_ENABLE_RED;
  blend.RenderTarget[0].SrcBlend = D3D11_BLEND_ONE;
  blend.RenderTarget[0].DestBlend = D3D11_BLEND_ZERO;
  blend.RenderTarget[0].BlendOp = D3D11_BLEND_OP_ADD;
  blend.RenderTarget[0].SrcBlendAlpha = D3D11_BLEND_ONE;
  blend.RenderTarget[0].DestBlendAlpha = D3D11_BLEND_ZERO;
  blend.RenderTarget[0].BlendOpAlpha = D3D11_BLEND_OP_ADD;
  r.device->CreateBlendState(&blend, &s.blend);
  D3D11_DEPTH_STENCIL_DESC depth = {};
  depth.DepthEnable = TRUE;
  depth.DepthWriteMask = D3D11_DEPTH_WRITE_MASK_ALL;
  depth.DepthFunc = D3D11_COMPARISON_NEVER;  // would hide anything drawn with it
  r.device->CreateDepthStencilState(&depth, &s.depthState);
  D3D11_RASTERIZER_DESC raster = {};
  raster.FillMode = D3D11_FILL_WIREFRAME;
  raster.CullMode = D3D11_CULL_FRONT;
  raster.ScissorEnable = TRUE;
  r.device->CreateRasterizerState(&raster, &s.rasterizer);
  D3D11_TEXTURE2D_DESC texture = {};
  texture.Width = texture.Height = 4;
  texture.MipLevels = texture.ArraySize = 1;
  texture.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
  texture.SampleDesc.Count = 1;
  texture.BindFlags = D3D11_BIND_SHADER_RESOURCE;
  ID3D11Texture2D* small = nullptr;
  r.device->CreateTexture2D(&texture, nullptr, &small);
  if (small != nullptr) r.device->CreateShaderResourceView(small, nullptr, &s.resource);
  Release(small);
  return s.vertexShader && s.pixelShader && s.layout && s.vertexBuffer && s.sampler && s.blend &&
         s.depthState && s.rasterizer && s.resource;
}

void Viewports(const Renderer& r, D3D11_VIEWPORT (&viewports)[2]) {
  viewports[0] = {0, 0, static_cast<float>(r.width), static_cast<float>(r.height), 0, 1};
  viewports[1] = {1, 2, 3, 4, 0.25f, 0.75f};
}

void BindKnownState(Renderer& r) {
  KnownState& s = r.state;
  ID3D11DeviceContext* c = r.context;
  c->OMSetRenderTargets(2, s.targets, s.depthView);
  c->OMSetBlendState(s.blend, kBlendFactor, kSampleMask);
  c->OMSetDepthStencilState(s.depthState, kStencilRef);
  c->RSSetState(s.rasterizer);
  D3D11_VIEWPORT viewports[2];
  Viewports(r, viewports);
  c->RSSetViewports(2, viewports);
  c->IASetInputLayout(s.layout);
  c->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_LINESTRIP);
  c->IASetVertexBuffers(0, 1, &s.vertexBuffer, &kStride, &kOffset);
  c->VSSetShader(s.vertexShader, nullptr, 0);
  c->PSSetShader(s.pixelShader, nullptr, 0);
  c->PSSetSamplers(0, 1, &s.sampler);
  c->PSSetShaderResources(0, 1, &s.resource);
}

// Compares what is bound with what the game bound; names the first difference.
const char* FindStateMismatch(Renderer& r) {
  KnownState& s = r.state;
  ID3D11DeviceContext* c = r.context;
  const char* mismatch = nullptr;
  auto expect = [&](bool same, const char* what) {
    if (!same && mismatch == nullptr) mismatch = what;
  };
  ID3D11RenderTargetView* targets[8] = {};
  ID3D11DepthStencilView* depthView = nullptr;
  c->OMGetRenderTargets(8, targets, &depthView);
  expect(targets[0] == s.targets[0] && targets[1] == s.targets[1] && targets[2] == nullptr,
         "render targets");
  expect(depthView == s.depthView, "depth-stencil view");
  for (auto*& target : targets) Release(target);
  Release(depthView);
  ID3D11BlendState* blend = nullptr;
  FLOAT factor[4] = {};
  UINT mask = 0;
  c->OMGetBlendState(&blend, factor, &mask);
  expect(blend == s.blend && std::memcmp(factor, kBlendFactor, sizeof factor) == 0 &&
             mask == kSampleMask,
         "blend state");
  Release(blend);
  ID3D11DepthStencilState* depthState = nullptr;
  UINT stencilRef = 0;
  c->OMGetDepthStencilState(&depthState, &stencilRef);
  expect(depthState == s.depthState && stencilRef == kStencilRef, "depth-stencil state");
  Release(depthState);
  ID3D11RasterizerState* rasterizer = nullptr;
  c->RSGetState(&rasterizer);
  expect(rasterizer == s.rasterizer, "rasterizer state");
  Release(rasterizer);
  D3D11_VIEWPORT viewports[D3D11_VIEWPORT_AND_SCISSORRECT_OBJECT_COUNT_PER_PIPELINE] = {};
  UINT viewportCount = D3D11_VIEWPORT_AND_SCISSORRECT_OBJECT_COUNT_PER_PIPELINE;
  c->RSGetViewports(&viewportCount, viewports);
  D3D11_VIEWPORT expected[2];
  Viewports(r, expected);
  expect(viewportCount == 2 && std::memcmp(viewports, expected, sizeof expected) == 0, "viewports");
  ID3D11InputLayout* layout = nullptr;
  c->IAGetInputLayout(&layout);
  expect(layout == s.layout, "input layout");
  Release(layout);
  D3D11_PRIMITIVE_TOPOLOGY topology = {};
  c->IAGetPrimitiveTopology(&topology);
  expect(topology == D3D11_PRIMITIVE_TOPOLOGY_LINESTRIP, "topology");
  ID3D11Buffer* vertexBuffer = nullptr;
  UINT stride = 0;
  UINT offset = 0;
  c->IAGetVertexBuffers(0, 1, &vertexBuffer, &stride, &offset);
  expect(vertexBuffer == s.vertexBuffer && stride == kStride && offset == kOffset, "vertex buffer");
  Release(vertexBuffer);
  ID3D11VertexShader* vertexShader = nullptr;
  c->VSGetShader(&vertexShader, nullptr, nullptr);
  expect(vertexShader == s.vertexShader, "vertex shader");
  Release(vertexShader);
  ID3D11PixelShader* pixelShader = nullptr;
  c->PSGetShader(&pixelShader, nullptr, nullptr);
  expect(pixelShader == s.pixelShader, "pixel shader");
  Release(pixelShader);
  ID3D11SamplerState* sampler = nullptr;
  c->PSGetSamplers(0, 1, &sampler);
  expect(sampler == s.sampler, "sampler");
  Release(sampler);
  ID3D11ShaderResourceView* resource = nullptr;
  c->PSGetShaderResources(0, 1, &resource);
  expect(resource == s.resource, "shader resource");
  Release(resource);
  return mismatch;
}

void CaptureBackBuffer(Renderer& r, IDXGISwapChain* swapChain, ID3D11Device* device,
                       ID3D11DeviceContext* context, const std::string& name) {
  ID3D11Texture2D* backBuffer = nullptr;
  if (FAILED(swapChain->GetBuffer(0, __uuidof(ID3D11Texture2D),
                                  reinterpret_cast<void**>(&backBuffer)))) {
    return;
  }
  D3D11_TEXTURE2D_DESC description = {};
  backBuffer->GetDesc(&description);
  description.Usage = D3D11_USAGE_STAGING;
  description.BindFlags = 0;
  description.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
  description.MiscFlags = 0;
  ID3D11Texture2D* staging = nullptr;
  device->CreateTexture2D(&description, nullptr, &staging);
  if (staging != nullptr) {
    context->CopyResource(staging, backBuffer);
    D3D11_MAPPED_SUBRESOURCE mapped = {};
    if (SUCCEEDED(context->Map(staging, 0, D3D11_MAP_READ, 0, &mapped))) {
      Capture capture;
      capture.width = description.Width;
      capture.height = description.Height;
      capture.rgba.resize(size_t(capture.width) * capture.height * 4);
      for (uint32_t y = 0; y < capture.height; ++y) {
        std::memcpy(&capture.rgba[size_t(y) * capture.width * 4],
                    static_cast<unsigned char*>(mapped.pData) + size_t(y) * mapped.RowPitch,
                    size_t(capture.width) * 4);
      }
      context->Unmap(staging, 0);
      WritePng(name + ".png", capture.rgba.data(), capture.width, capture.height);
      std::lock_guard<std::mutex> hold(r.mutex);
      r.capture = std::move(capture);
    }
  }
  Release(staging);
  Release(backBuffer);
}

void ServeResize(Renderer& r) {
  uint32_t width = 0;
  uint32_t height = 0;
  {
    std::lock_guard<std::mutex> hold(r.mutex);
    if (!r.resizeRequested) return;
    width = r.requestedWidth;
    height = r.requestedHeight;
  }
  ReleaseSizedObjects(r);
  RECT area = {0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
  AdjustWindowRect(&area, WS_OVERLAPPEDWINDOW, FALSE);
  SetWindowPos(r.window, nullptr, 0, 0, area.right - area.left, area.bottom - area.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const HRESULT result = r.swapChain->ResizeBuffers(0, width, height, DXGI_FORMAT_UNKNOWN, 0);
  CreateSizedObjects(r);
  std::lock_guard<std::mutex> hold(r.mutex);
  r.resizeRequested = false;
  r.resizeResult = result;
  r.resizeDone = true;
  r.changed.notify_all();
}

void ServeSecondDevice(Renderer& r) {
  uint32_t width = 0;
  uint32_t height = 0;
  {
    std::lock_guard<std::mutex> hold(r.mutex);
    if (!r.secondRequested) return;
    width = r.secondWidth;
    height = r.secondHeight;
  }
  std::string error;
  r.secondWindow = CreateGameWindow(width, height);
  if (r.secondWindow == nullptr ||
      !CreateDeviceAndSwapChain(r.secondWindow, width, height, &r.secondSwapChain, &r.secondDevice,
                                &r.secondContext)) {
    error = "could not create the second device";
  } else {
    ID3D11Texture2D* backBuffer = nullptr;
    r.secondSwapChain->GetBuffer(0, __uuidof(ID3D11Texture2D),
                                 reinterpret_cast<void**>(&backBuffer));
    if (backBuffer != nullptr)
      r.secondDevice->CreateRenderTargetView(backBuffer, nullptr, &r.secondTarget);
    Release(backBuffer);
    if (r.secondTarget == nullptr) {
      error = "no view of the second back buffer";
      Release(r.secondSwapChain);
    }
  }
  std::lock_guard<std::mutex> hold(r.mutex);
  r.secondRequested = false;
  r.secondError = error;
  r.secondDone = true;
  r.changed.notify_all();
}

void PresentFrame(Renderer& r) {
  r.context->ClearRenderTargetView(r.state.targets[0], kClearColour);
  BindKnownState(r);
  uint32_t syncInterval = 0;
  bool syncRequest = false;
  std::string screenshot;
  uint32_t framesPerSecond = 60;
  {
    std::lock_guard<std::mutex> hold(r.mutex);
    syncRequest = r.syncRequested;
    syncInterval = syncRequest ? r.syncInterval : 0;
    screenshot = r.screenshotName;
    framesPerSecond = r.framesPerSecond;
  }
  LARGE_INTEGER start, end, frequency;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const HRESULT result = r.swapChain->Present(syncInterval, 0);
  QueryPerformanceCounter(&end);
  const char* mismatch = FindStateMismatch(r);
  if (!screenshot.empty()) CaptureBackBuffer(r, r.swapChain, r.device, r.context, screenshot);
  const bool second = r.secondSwapChain != nullptr;
  std::string secondScreenshot;
  if (second) {
    r.secondContext->ClearRenderTargetView(r.secondTarget, kClearColour);
    r.secondSwapChain->Present(0, 0);
    {
      std::lock_guard<std::mutex> hold(r.mutex);
      secondScreenshot = r.secondScreenshotName;
    }
    if (!secondScreenshot.empty()) {
      CaptureBackBuffer(r, r.secondSwapChain, r.secondDevice, r.secondContext, secondScreenshot);
    }
  }
  bool countReferences = false;
  {
    std::lock_guard<std::mutex> hold(r.mutex);
    countReferences = r.referencesRequested;
  }
  ULONG references = 0;
  if (countReferences) {
    ID3D11Texture2D* backBuffer = nullptr;
    if (SUCCEEDED(r.swapChain->GetBuffer(0, __uuidof(ID3D11Texture2D),
                                         reinterpret_cast<void**>(&backBuffer)))) {
      backBuffer->AddRef();
      references = backBuffer->Release() - 1;  // without our own GetBuffer reference
      backBuffer->Release();
    }
  }

  std::lock_guard<std::mutex> hold(r.mutex);
  if (r.recordTimings) {
    r.presentMicroseconds.push_back(1e6 * double(end.QuadPart - start.QuadPart) /
                                    double(frequency.QuadPart));
  }
  if (syncRequest) {
    r.syncRequested = false;
    r.syncResult = result;
    r.syncDone = true;
  } else if (result != S_OK) {
    if (r.presentFailures++ == 0) r.firstFailure = result;
  }
  if (mismatch != nullptr && r.mismatches++ == 0) {
    r.firstMismatch = std::string(mismatch) + " at frame " + std::to_string(r.frames);
  }
  if (!screenshot.empty() || !secondScreenshot.empty()) {
    r.screenshotName.clear();
    r.secondScreenshotName.clear();
    r.screenshotDone = true;
  }
  if (countReferences) {
    r.referencesRequested = false;
    r.references = references;
  }
  ++r.frames;
  r.changed.notify_all();
  (void)framesPerSecond;
}

void ReleaseFixedObjects(Renderer& r) {
  KnownState& s = r.state;
  Release(s.blend);
  Release(s.depthState);
  Release(s.rasterizer);
  Release(s.layout);
  Release(s.vertexBuffer);
  Release(s.vertexShader);
  Release(s.pixelShader);
  Release(s.sampler);
  Release(s.resource);
}

// The game lets go of its device, context and swap chain and makes new ones
// on the same window at the same size, as after a display-mode change or a
// lost device.
void ServeRecreate(Renderer& r) {
  {
    std::lock_guard<std::mutex> hold(r.mutex);
    if (!r.recreateRequested) return;
  }
  ReleaseSizedObjects(r);
  ReleaseFixedObjects(r);
  auto* watch = new artwheel::DestructionWatch;  // one per device, kept for the process
  if (FAILED(r.device->SetPrivateDataInterface(kDestructionWatchId, watch))) {
    delete watch;
    watch = nullptr;
  }
  r.oldDevice = r.device;
  r.oldDeviceWatch = watch;
  r.context->Flush();
  Release(r.context);
  Release(r.swapChain);
  Release(r.device);
  std::string error;
  if (watch == nullptr) error = "the device takes no private data";
  if (!CreateDeviceAndSwapChain(r.window, r.width, r.height, &r.swapChain, &r.device, &r.context) ||
      !CreateFixedObjects(r) || !CreateSizedObjects(r)) {
    error = "could not create the new device or swap chain";
  }
  std::lock_guard<std::mutex> hold(r.mutex);
  r.recreateRequested = false;
  r.recreateError = error;
  r.recreateDone = true;
  r.changed.notify_all();
}

// References left on the previous device; 0 once it was destroyed.
void ServeOldReferences(Renderer& r) {
  {
    std::lock_guard<std::mutex> hold(r.mutex);
    if (!r.oldReferencesRequested) return;
  }
  long references = -1;
  if (r.oldDevice != nullptr && r.oldDeviceWatch != nullptr) {
    if (!r.oldDeviceWatch->Held()) {
      references = 0;
    } else {
      r.oldDevice->AddRef();
      references = static_cast<long>(r.oldDevice->Release());
    }
  }
  std::lock_guard<std::mutex> hold(r.mutex);
  r.oldReferencesRequested = false;
  r.oldReferences = references;
  r.changed.notify_all();
}

void RenderLoop(Renderer& r) {
  r.window = CreateGameWindow(r.width, r.height);
  const bool created =
      r.window != nullptr &&
      CreateDeviceAndSwapChain(r.window, r.width, r.height, &r.swapChain, &r.device, &r.context);
  if (created && r.faultyPresent) WrapPresent(r.swapChain);
  if (!created || !CreateFixedObjects(r) || !CreateSizedObjects(r)) {
    std::lock_guard<std::mutex> hold(r.mutex);
    r.startError = "could not create the game's window, device or swap chain";
    r.running = false;
    r.changed.notify_all();
    return;
  }
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  for (;;) {
    LARGE_INTEGER frameStart;
    QueryPerformanceCounter(&frameStart);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    uint32_t framesPerSecond = 60;
    {
      std::lock_guard<std::mutex> hold(r.mutex);
      if (r.stop) break;
      framesPerSecond = r.framesPerSecond;
    }
    ServeResize(r);
    ServeRecreate(r);
    ServeOldReferences(r);
    ServeSecondDevice(r);
    if (r.swapChain != nullptr) PresentFrame(r);
    if (framesPerSecond != 0) {
      const double budget = 1000.0 / framesPerSecond;
      LARGE_INTEGER now;
      QueryPerformanceCounter(&now);
      const double spent =
          1000.0 * double(now.QuadPart - frameStart.QuadPart) / double(frequency.QuadPart);
      if (spent < budget) Sleep(static_cast<DWORD>(budget - spent));
    }
  }
}

template <typename Predicate>
bool WaitUntil(std::unique_lock<std::mutex>& hold, Predicate done) {
  return renderer.changed.wait_for(hold, std::chrono::seconds(10), done);
}

}  // namespace

void SetWindowSize(std::FILE* results, uint32_t width, uint32_t height) {
  std::unique_lock<std::mutex> hold(renderer.mutex);
  if (!renderer.running) {
    renderer.width = width;
    renderer.height = height;
    renderer.running = true;
    renderer.thread = std::thread([] { RenderLoop(renderer); });
    WaitUntil(hold, [] { return renderer.frames > 0 || !renderer.running; });
    if (!renderer.running) {
      std::fprintf(results, "window error %s\n", renderer.startError.c_str());
    } else {
      std::fprintf(results, "window %ux%u\n", renderer.width, renderer.height);
    }
    return;
  }
  renderer.requestedWidth = width;
  renderer.requestedHeight = height;
  renderer.resizeRequested = true;
  renderer.resizeDone = false;
  WaitUntil(hold, [] { return renderer.resizeDone; });
  std::fprintf(results, "resize %ux%u hr=0x%08lX\n", width, height,
               static_cast<unsigned long>(renderer.resizeResult));
}

bool WaitFrames(int count) {
  std::unique_lock<std::mutex> hold(renderer.mutex);
  if (!renderer.running) return false;
  const uint64_t target = renderer.frames + static_cast<uint64_t>(count);
  // Gives up only when frames stop coming: a busy machine or a software
  // Vulkan driver may take well over 10 s for a hundred frames.
  for (;;) {
    const uint64_t seen = renderer.frames;
    if (!WaitUntil(hold, [&] {
          return renderer.frames >= target || renderer.frames > seen || !renderer.running;
        })) {
      return false;
    }
    if (renderer.frames >= target || !renderer.running) return renderer.frames >= target;
  }
}

bool WaitPresentThrough(const char* library) {
  const HMODULE wanted = GetModuleHandleA(library);
  std::unique_lock<std::mutex> hold(renderer.mutex);
  if (!renderer.running || wanted == nullptr) return false;
  const auto presentModule = [] {
    // Entry 8 of the swap chain's method table is Present.
    void* present = (*reinterpret_cast<void***>(renderer.swapChain))[8];
    HMODULE module = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        static_cast<const char*>(present), &module);
    return module;
  };
  return WaitUntil(hold, [&] { return presentModule() == wanted || !renderer.running; }) &&
         renderer.running;
}

void Screenshot(std::FILE* results, const char* name) {
  std::unique_lock<std::mutex> hold(renderer.mutex);
  if (!renderer.running) {
    std::fprintf(results, "screenshot %s none\n", name);
    return;
  }
  renderer.screenshotDone = false;
  renderer.screenshotName = name;
  WaitUntil(hold, [] { return renderer.screenshotDone; });
  std::fprintf(results, "screenshot %s %ux%u\n", name, renderer.capture.width,
               renderer.capture.height);
}

void BackBufferReferences(std::FILE* results, const char* label) {
  std::unique_lock<std::mutex> hold(renderer.mutex);
  renderer.referencesRequested = true;
  WaitUntil(hold, [] { return !renderer.referencesRequested; });
  std::fprintf(results, "references %s %lu\n", label, renderer.references);
}

void UseFaultyPresent() {
  std::lock_guard<std::mutex> hold(renderer.mutex);
  renderer.faultyPresent = true;
}

void FailPresents(std::FILE* results, HRESULT result, int count) {
  std::unique_lock<std::mutex> hold(renderer.mutex);
  if (driverPresent.load() == nullptr) {
    std::fprintf(results, "failpresent error no faultypresent before the window\n");
    return;
  }
  injectedFailure.store(result);
  failingSwapChain.store(renderer.swapChain);
  failuresLeft.store(count);
  const uint64_t target = renderer.frames + static_cast<uint64_t>(count);
  WaitUntil(hold, [&] { return renderer.frames >= target; });
  std::fprintf(results, "failpresent 0x%08lX %d\n", static_cast<unsigned long>(result), count);
}

void RecreateDevice(std::FILE* results) {
  std::unique_lock<std::mutex> hold(renderer.mutex);
  if (!renderer.running) {
    std::fprintf(results, "recreate error not rendering\n");
    return;
  }
  renderer.recreateDone = false;
  renderer.recreateRequested = true;
  WaitUntil(hold, [] { return renderer.recreateDone; });
  std::fprintf(results, "recreate %s\n",
               renderer.recreateError.empty() ? "ok" : renderer.recreateError.c_str());
}

void OldDeviceReferences(std::FILE* results, const char* label) {
  std::unique_lock<std::mutex> hold(renderer.mutex);
  renderer.oldReferencesRequested = true;
  WaitUntil(hold, [] { return !renderer.oldReferencesRequested; });
  if (renderer.oldReferences < 0) {
    std::fprintf(results, "oldrefs %s none\n", label);
  } else {
    std::fprintf(results, "oldrefs %s %ld\n", label, renderer.oldReferences);
  }
}

void StartSecondDevice(std::FILE* results, uint32_t width, uint32_t height) {
  std::unique_lock<std::mutex> hold(renderer.mutex);
  renderer.secondWidth = width;
  renderer.secondHeight = height;
  renderer.secondDone = false;
  renderer.secondRequested = true;
  WaitUntil(hold, [] { return renderer.secondDone; });
  std::fprintf(results, "second %s\n",
               renderer.secondError.empty() ? "ready" : renderer.secondError.c_str());
}

void ScreenshotSecond(std::FILE* results, const char* name) {
  std::unique_lock<std::mutex> hold(renderer.mutex);
  renderer.screenshotDone = false;
  renderer.secondScreenshotName = name;
  WaitUntil(hold, [] { return renderer.screenshotDone; });
  std::fprintf(results, "screenshot %s %ux%u\n", name, renderer.capture.width,
               renderer.capture.height);
}

void Pixel(std::FILE* results, uint32_t x, uint32_t y, const char* label) {
  std::lock_guard<std::mutex> hold(renderer.mutex);
  const Capture& c = renderer.capture;
  if (x >= c.width || y >= c.height) {
    std::fprintf(results, "pixel %s outside\n", label);
    return;
  }
  const unsigned char* p = &c.rgba[(size_t(y) * c.width + x) * 4];
  std::fprintf(results, "pixel %s %u %u %u %u\n", label, p[0], p[1], p[2], p[3]);
}

void PresentWithSyncInterval(std::FILE* results, uint32_t syncInterval) {
  std::unique_lock<std::mutex> hold(renderer.mutex);
  renderer.syncInterval = syncInterval;
  renderer.syncRequested = true;
  renderer.syncDone = false;
  WaitUntil(hold, [] { return renderer.syncDone; });
  std::fprintf(results, "present sync=%u hr=0x%08lX\n", syncInterval,
               static_cast<unsigned long>(renderer.syncResult));
}

void SetFrameRate(uint32_t framesPerSecond) {
  std::lock_guard<std::mutex> hold(renderer.mutex);
  renderer.framesPerSecond = framesPerSecond;
}

void ResetFrameStats() {
  std::lock_guard<std::mutex> hold(renderer.mutex);
  renderer.presentMicroseconds.clear();
}

void RecordFrameStats(bool on) {
  std::lock_guard<std::mutex> hold(renderer.mutex);
  renderer.recordTimings = on;
}

void FrameStats(std::FILE* results, const char* label) {
  std::vector<double> times;
  {
    std::lock_guard<std::mutex> hold(renderer.mutex);
    times = renderer.presentMicroseconds;
  }
  if (times.empty()) {
    std::fprintf(results, "framestats %s frames=0\n", label);
    return;
  }
  std::sort(times.begin(), times.end());
  std::fprintf(results, "framestats %s frames=%zu median_us=%.1f p90_us=%.1f\n", label,
               times.size(), times[times.size() / 2], times[times.size() * 9 / 10]);
}

void* GameSwapChainMethod(int slot) {
  std::lock_guard<std::mutex> hold(renderer.mutex);
  if (!renderer.running || renderer.frames == 0) return nullptr;
  return (*reinterpret_cast<void***>(renderer.swapChain))[slot];
}

void WriteRenderSummary(std::FILE* results) {
  std::lock_guard<std::mutex> hold(renderer.mutex);
  std::fprintf(results, "render frames=%llu state_mismatches=%llu present_failures=%llu\n",
               static_cast<unsigned long long>(renderer.frames),
               static_cast<unsigned long long>(renderer.mismatches),
               static_cast<unsigned long long>(renderer.presentFailures));
  if (!renderer.firstMismatch.empty()) {
    std::fprintf(results, "first_mismatch %s\n", renderer.firstMismatch.c_str());
  }
  if (renderer.presentFailures != 0) {
    std::fprintf(results, "first_present_failure hr=0x%08lX\n",
                 static_cast<unsigned long>(renderer.firstFailure));
  }
}

void StopRendering() {
  {
    std::lock_guard<std::mutex> hold(renderer.mutex);
    if (!renderer.running) return;
    renderer.stop = true;
  }
  if (renderer.thread.joinable()) renderer.thread.join();
}

}  // namespace sim
