// The script's requests of the game's renderer that change what it renders
// with: a new size, a new device, a second device; served by the render
// thread before its next frame.
#include <d3d11.h>
#include <dxgi1_4.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "game_renderer.h"
#include "game_renderer_record.h"
#include "overlay/destruction_watch.h"

namespace sim {
namespace render {
namespace {

constexpr GUID kDestructionWatchId = {
    0x6a1f3c52, 0x2b7e, 0x4d0a, {0x9c, 0x41, 0x7e, 0x15, 0x88, 0x3a, 0x20, 0xd4}};

}  // namespace

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

// The game gives its back buffer another format at the same size and may then
// tell DXGI that it holds HDR10 (PQ over BT.2020), as a game does right after
// making its swap chain.
void ServeFormat(Renderer& r) {
  DXGI_FORMAT format = DXGI_FORMAT_UNKNOWN;
  bool colorSpace = false;
  {
    std::lock_guard<std::mutex> hold(r.mutex);
    if (!r.formatRequested) return;
    format = r.requestedFormat;
    colorSpace = r.colorSpaceWanted;
  }
  ReleaseSizedObjects(r);
  const HRESULT result = r.swapChain->ResizeBuffers(0, r.width, r.height, format, 0);
  CreateSizedObjects(r);
  std::string colorSpaceResult = "none";
  if (colorSpace) {
    IDXGISwapChain3* swapChain3 = nullptr;
    if (FAILED(r.swapChain->QueryInterface(__uuidof(IDXGISwapChain3),
                                           reinterpret_cast<void**>(&swapChain3))) ||
        swapChain3 == nullptr) {
      colorSpaceResult = "nointerface";
    } else {
      char text[16];
      std::snprintf(text, sizeof text, "0x%08lX",
                    static_cast<unsigned long>(
                        swapChain3->SetColorSpace1(DXGI_COLOR_SPACE_RGB_FULL_G2084_NONE_P2020)));
      colorSpaceResult = text;
      Release(swapChain3);
    }
  }
  std::lock_guard<std::mutex> hold(r.mutex);
  r.formatRequested = false;
  r.formatResult = result;
  r.colorSpaceResult = colorSpaceResult;
  r.formatDone = true;
  r.changed.notify_all();
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
  {
    // Another program's swap chain presents first after the game let go of its own.
    std::unique_lock<std::mutex> hold(r.mutex);
    WaitSecondFrames(hold, 2);
  }
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

}  // namespace render

using render::renderer;
using render::WaitUntil;

void SetWindowSize(std::FILE* results, uint32_t width, uint32_t height) {
  std::unique_lock<std::mutex> hold(renderer.mutex);
  if (!renderer.running) {
    renderer.width = width;
    renderer.height = height;
    render::StartRenderThread(hold);
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

void SetBackBufferFormat(std::FILE* results, const char* name, uint32_t format,
                         bool setColorSpace) {
  std::unique_lock<std::mutex> hold(renderer.mutex);
  if (!renderer.running) {
    std::fprintf(results, "backbuffer error not rendering\n");
    return;
  }
  renderer.requestedFormat = static_cast<DXGI_FORMAT>(format);
  renderer.colorSpaceWanted = setColorSpace;
  renderer.formatDone = false;
  renderer.formatRequested = true;
  WaitUntil(hold, [] { return renderer.formatDone; });
  std::fprintf(results, "backbuffer %s hr=0x%08lX colorspace=%s\n", name,
               static_cast<unsigned long>(renderer.formatResult),
               renderer.colorSpaceResult.c_str());
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

}  // namespace sim
