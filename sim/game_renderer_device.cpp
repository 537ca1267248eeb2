// The game's window, its device and swap chain, and the objects the known
// pipeline state holds.
#include <d3d11.h>
#include <d3dcompiler.h>
#include <windows.h>

#include <cstring>

#include "game_renderer_record.h"

namespace sim::render {
namespace {

LRESULT CALLBACK GameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

ID3DBlob* CompileShader(const char* source, const char* entry, const char* target) {
  ID3DBlob* code = nullptr;
  ID3DBlob* errors = nullptr;
  D3DCompile(source, std::strlen(source), nullptr, nullptr, nullptr, entry, target, 0, 0, &code,
             &errors);
  Release(errors);
  return code;
}

}  // namespace

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
      WatchProductDeviceCalls(*device);
      return true;
    }
  }
  return false;
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
  texture.Format = DXGI_FORMAT_R32_FLOAT;
  texture.BindFlags = D3D11_BIND_UNORDERED_ACCESS;
  ID3D11Texture2D* written = nullptr;
  r.device->CreateTexture2D(&texture, nullptr, &written);
  if (written != nullptr) r.device->CreateUnorderedAccessView(written, nullptr, &s.unorderedView);
  Release(written);
  return s.unorderedView && s.vertexShader && s.pixelShader && s.layout && s.vertexBuffer &&
         s.sampler && s.blend && s.depthState && s.rasterizer && s.resource;
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
  Release(s.unorderedView);
}

}  // namespace sim::render
