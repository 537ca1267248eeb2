// A second device presenting its own window on a thread of its own: what a
// launcher, a capture tool or another program's overlay does in the game's
// process.
#include <d3d11.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "game_renderer.h"
#include "game_renderer_record.h"
#include "overlay/destruction_watch.h"

namespace sim {
namespace render {
namespace {

constexpr float kSecondClear[4] = {32 / 255.0f, 64 / 255.0f, 96 / 255.0f, 1.0f};
constexpr GUID kSecondDeviceWatchId = {
    0x51c7a0e2, 0x3d94, 0x4e1b, {0x8a, 0x62, 0x0f, 0x3b, 0x71, 0xd5, 0x9c, 0x48}};

bool CreateSecond(Renderer& r, uint32_t width, uint32_t height) {
  r.secondWindow = CreateGameWindow(width, height);
  if (r.secondWindow == nullptr ||
      !CreateDeviceAndSwapChain(r.secondWindow, width, height, &r.secondSwapChain, &r.secondDevice,
                                &r.secondContext)) {
    return false;
  }
  ID3D11Texture2D* backBuffer = nullptr;
  r.secondSwapChain->GetBuffer(0, __uuidof(ID3D11Texture2D), reinterpret_cast<void**>(&backBuffer));
  if (backBuffer != nullptr) {
    r.secondDevice->CreateRenderTargetView(backBuffer, nullptr, &r.secondTarget);
  }
  Release(backBuffer);
  return r.secondTarget != nullptr;
}

// Releases everything of the second device; the references left on it.
long ReleaseSecond(Renderer& r) {
  artwheel::DestructionWatch watch;
  ID3D11Device* device = r.secondDevice;
  const bool watched =
      device != nullptr && SUCCEEDED(device->SetPrivateDataInterface(kSecondDeviceWatchId, &watch));
  if (r.secondContext != nullptr) r.secondContext->ClearState();
  Release(r.secondTarget);
  Release(r.secondContext);
  Release(r.secondSwapChain);
  Release(r.secondDevice);
  if (r.secondWindow != nullptr) DestroyWindow(r.secondWindow);
  r.secondWindow = nullptr;
  if (!watched) return -1;
  if (!watch.Held()) return 0;
  device->AddRef();  // still alive: someone holds it
  const long references = static_cast<long>(device->Release());
  device->SetPrivateDataInterface(kSecondDeviceWatchId, nullptr);  // the watch leaves with us
  return references;
}

void SecondLoop(Renderer& r, uint32_t width, uint32_t height) {
  const bool created = CreateSecond(r, width, height);
  {
    std::lock_guard<std::mutex> hold(r.mutex);
    r.secondError = created ? "" : "could not create the second device";
    r.secondDone = true;
    r.changed.notify_all();
  }
  while (created) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    std::string screenshot;
    {
      std::lock_guard<std::mutex> hold(r.mutex);
      if (r.secondStop) break;
      screenshot = r.secondScreenshotName;
    }
    r.secondContext->ClearRenderTargetView(r.secondTarget, kSecondClear);
    r.secondSwapChain->Present(0, 0);
    if (!screenshot.empty()) {
      CaptureBackBuffer(r, r.secondSwapChain, r.secondDevice, r.secondContext, screenshot);
    }
    std::unique_lock<std::mutex> hold(r.mutex);
    if (!screenshot.empty()) {
      r.secondScreenshotName.clear();
      r.screenshotDone = true;
    }
    ++r.secondFrames;
    r.changed.notify_all();
    hold.unlock();
    Sleep(16);  // about the game's own pace
  }
  const long references = ReleaseSecond(r);
  std::lock_guard<std::mutex> hold(r.mutex);
  r.secondReferences = references;
  r.changed.notify_all();
}

}  // namespace

void StartSecondThread(std::unique_lock<std::mutex>& hold) {
  const uint32_t width = renderer.secondWidth;
  const uint32_t height = renderer.secondHeight;
  renderer.secondDone = false;
  renderer.secondStop = false;
  renderer.secondThread = std::thread([width, height] { SecondLoop(renderer, width, height); });
  WaitUntil(hold, [] { return renderer.secondDone; });
}

void WaitSecondFrames(std::unique_lock<std::mutex>& hold, uint64_t count) {
  if (!renderer.secondThread.joinable() || renderer.secondStop) return;
  const uint64_t target = renderer.secondFrames + count;
  WaitUntil(hold, [&] { return renderer.secondFrames >= target || renderer.secondStop; });
}

}  // namespace render

using render::renderer;

void StartSecondDevice(std::FILE* results, uint32_t width, uint32_t height) {
  std::unique_lock<std::mutex> hold(renderer.mutex);
  if (renderer.secondThread.joinable()) {
    std::fprintf(results, "second error already there\n");
    return;
  }
  renderer.secondWidth = width;
  renderer.secondHeight = height;
  render::StartSecondThread(hold);
  std::fprintf(results, "second %s\n",
               renderer.secondError.empty() ? "ready" : renderer.secondError.c_str());
}

void StopSecondDevice(std::FILE* results) {
  {
    std::lock_guard<std::mutex> hold(renderer.mutex);
    if (!renderer.secondThread.joinable()) return;
    renderer.secondStop = true;
  }
  renderer.secondThread.join();
  if (results != nullptr) std::fprintf(results, "secondrefs %ld\n", renderer.secondReferences);
}

}  // namespace sim
