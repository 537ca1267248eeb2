// The game's device as artwheel's DLL uses it: the methods that make objects
// are wrapped in the device's method table, so that every object the DLL made
// is watched until it is destroyed, and its shaders can be refused.
#include <d3d11.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <tuple>

#include "game_renderer.h"
#include "game_renderer_record.h"
#include "overlay/destruction_watch.h"

namespace sim {
namespace render {
namespace {

constexpr GUID kProductObjectWatchId = {
    0x2f6b9e14, 0x77c3, 0x4a58, {0xb1, 0x0d, 0x5e, 0x93, 0x24, 0xc8, 0x6a, 0x01}};

enum Kind { kBuffers, kTextures, kViews, kLayouts, kShaders, kStates, kKinds };
constexpr const char* kKindNames[kKinds] = {"buffers", "textures", "views",
                                            "layouts", "shaders",  "states"};

// Each kind's watch is held once by every live object of the DLL's of that kind.
artwheel::DestructionWatch liveObjects[kKinds];

std::atomic<bool> watching{false};
std::atomic<bool> refuseShaders{false};
std::atomic<long> refusedShaders{0};

// Method table slots: IUnknown's three, then ID3D11Device's in order.
constexpr int kPixelShaderSlot = 15;
constexpr int kSlots = 24;
void* realMethods[kSlots] = {};

bool FromProduct(void* caller) {
  HMODULE module = nullptr;
  return GetModuleHandleExA(
             GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
             static_cast<const char*>(caller), &module) != 0 &&
         module == GetModuleHandleA("dinput8.dll");
}

// The stand-in for slot Slot: the object made, always the last argument, is
// watched when the DLL asked for it.
template <int Slot, Kind K, typename... A>
HRESULT STDMETHODCALLTYPE WatchingCreate(ID3D11Device* device, A... args) {
  const bool product = FromProduct(__builtin_return_address(0));
  if (product && Slot == kPixelShaderSlot && refuseShaders.load()) {
    ++refusedShaders;
    return E_OUTOFMEMORY;
  }
  using Method = HRESULT(STDMETHODCALLTYPE*)(ID3D11Device*, A...);
  const HRESULT result = reinterpret_cast<Method>(realMethods[Slot])(device, args...);
  auto* made = std::get<sizeof...(A) - 1>(std::forward_as_tuple(args...));
  if (product && SUCCEEDED(result) && made != nullptr && *made != nullptr) {
    static_cast<ID3D11DeviceChild*>(*made)->SetPrivateDataInterface(kProductObjectWatchId,
                                                                    &liveObjects[K]);
  }
  return result;
}

template <int Slot, Kind K, typename C, typename... A>
constexpr void* StandIn(HRESULT (STDMETHODCALLTYPE C::*)(A...)) {
  return reinterpret_cast<void*>(&WatchingCreate<Slot, K, A...>);
}

struct Wrapped {
  int slot;
  void* standIn;
};

const Wrapped kDeviceMethods[] = {
    {3, StandIn<3, kBuffers>(&ID3D11Device::CreateBuffer)},
    {5, StandIn<5, kTextures>(&ID3D11Device::CreateTexture2D)},
    {7, StandIn<7, kViews>(&ID3D11Device::CreateShaderResourceView)},
    {9, StandIn<9, kViews>(&ID3D11Device::CreateRenderTargetView)},
    {11, StandIn<11, kLayouts>(&ID3D11Device::CreateInputLayout)},
    {12, StandIn<12, kShaders>(&ID3D11Device::CreateVertexShader)},
    {15, StandIn<15, kShaders>(&ID3D11Device::CreatePixelShader)},
    {20, StandIn<20, kStates>(&ID3D11Device::CreateBlendState)},
    {21, StandIn<21, kStates>(&ID3D11Device::CreateDepthStencilState)},
    {22, StandIn<22, kStates>(&ID3D11Device::CreateRasterizerState)},
    {23, StandIn<23, kStates>(&ID3D11Device::CreateSamplerState)},
};
void WrapSlot(void** table, const Wrapped& method) {
  if (table[method.slot] == method.standIn) return;  // the table is shared by all devices
  DWORD old = 0;
  if (!VirtualProtect(&table[method.slot], sizeof(void*), PAGE_EXECUTE_READWRITE, &old)) return;
  realMethods[method.slot] = table[method.slot];
  table[method.slot] = method.standIn;
  VirtualProtect(&table[method.slot], sizeof(void*), old, &old);
}

}  // namespace

void WatchProductDeviceCalls(ID3D11Device* device) {
  if (!watching.load() || device == nullptr) return;
  for (const Wrapped& method : kDeviceMethods) {
    WrapSlot(*reinterpret_cast<void***>(device), method);
  }
}

void ServeProductObjects(Renderer& r) {
  {
    std::lock_guard<std::mutex> hold(r.mutex);
    if (!r.objectsRequested) return;
  }
  // Between frames: the frame's own render-target view is gone.
  char line[256];
  long total = 0;
  int written = 0;
  for (int kind = 0; kind < kKinds; ++kind) {
    const long live = static_cast<long>(liveObjects[kind].references.load());
    total += live;
    written +=
        std::snprintf(line + written, sizeof line - written, " %s=%ld", kKindNames[kind], live);
  }
  std::lock_guard<std::mutex> hold(r.mutex);
  r.objectsRequested = false;
  r.objectsLine = "total=" + std::to_string(total) + line;
  r.changed.notify_all();
}

}  // namespace render

using render::renderer;
using render::WaitUntil;

void WatchProductObjects() { render::watching.store(true); }

void RefuseProductShaders(std::FILE* results, bool refuse) {
  render::watching.store(true);
  render::refuseShaders.store(refuse);
  std::fprintf(results, "refuseshaders %s refused=%ld\n", refuse ? "on" : "off",
               render::refusedShaders.load());
}

void ProductObjects(std::FILE* results, const char* label) {
  std::unique_lock<std::mutex> hold(renderer.mutex);
  if (!renderer.running) {
    std::fprintf(results, "d3dobjects %s error not rendering\n", label);
    return;
  }
  renderer.objectsRequested = true;
  WaitUntil(hold, [] { return !renderer.objectsRequested; });
  std::fprintf(results, "d3dobjects %s %s\n", label, renderer.objectsLine.c_str());
}

}  // namespace sim
