// The game's frames: the render thread that presents continuously with the
// known pipeline state bound before every Present and checked after it, and
// what the script learns of its frames.
#include <d3d11.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "game_renderer.h"
#include "game_renderer_record.h"

namespace sim {
namespace render {

Renderer renderer;

namespace {

// The game's frame before any overlay: a flat colour the tests know.
constexpr float kClearColour[4] = {32 / 255.0f, 64 / 255.0f, 96 / 255.0f, 1.0f};

// What a frame did, recorded once it was presented.
struct FrameOutcome {
  HRESULT result = S_OK;
  double microseconds = 0;
  const char* mismatch = nullptr;
  bool syncRequest = false;
  bool screenshots = false;
  bool countReferences = false;
  ULONG references = 0;
};

// The game's Present, timed.
HRESULT TimedPresent(Renderer& r, uint32_t syncInterval, double& microseconds) {
  LARGE_INTEGER start, end, frequency;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const HRESULT result = r.swapChain->Present(syncInterval, 0);
  QueryPerformanceCounter(&end);
  microseconds = 1e6 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
  return result;
}

// Counts the frame, keeps its timing, failure and mismatch, and answers the
// requests it served.
void RecordFrame(Renderer& r, const FrameOutcome& frame) {
  std::lock_guard<std::mutex> hold(r.mutex);
  if (r.recordTimings) r.presentMicroseconds.push_back(frame.microseconds);
  if (frame.syncRequest) {
    r.syncRequested = false;
    r.syncResult = frame.result;
    r.syncDone = true;
  } else if (frame.result != S_OK) {
    if (r.presentFailures++ == 0) r.firstFailure = frame.result;
  }
  if (frame.mismatch != nullptr && r.mismatches++ == 0) {
    r.firstMismatch = std::string(frame.mismatch) + " at frame " + std::to_string(r.frames);
  }
  if (frame.screenshots) {
    r.screenshotName.clear();
    r.screenshotDone = true;
  }
  if (frame.countReferences) {
    r.referencesRequested = false;
    r.references = frame.references;
  }
  ++r.frames;
  r.changed.notify_all();
}

void PresentFrame(Renderer& r) {
  r.context->ClearRenderTargetView(r.state.targets[0], kClearColour);
  BindKnownState(r);
  FrameOutcome frame;
  uint32_t syncInterval = 0;
  std::string screenshot;
  {
    std::lock_guard<std::mutex> hold(r.mutex);
    frame.syncRequest = r.syncRequested;
    syncInterval = frame.syncRequest ? r.syncInterval : 0;
    screenshot = r.screenshotName;
  }
  frame.result = TimedPresent(r, syncInterval, frame.microseconds);
  frame.mismatch = FindStateMismatch(r);
  if (!screenshot.empty()) CaptureBackBuffer(r, r.swapChain, r.device, r.context, screenshot);
  frame.screenshots = !screenshot.empty();
  {
    std::lock_guard<std::mutex> hold(r.mutex);
    frame.countReferences = r.referencesRequested;
  }
  if (frame.countReferences) frame.references = CountBackBufferReferences(r);
  RecordFrame(r, frame);
}

// The window, the device and swap chain and the known state's objects; false,
// with the reason kept, when one of them could not be made.
bool CreateEverything(Renderer& r) {
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
    return false;
  }
  return true;
}

// Sleeps for what is left of the frame's time at this frame rate (0: none).
void PaceFrame(const LARGE_INTEGER& frameStart, const LARGE_INTEGER& frequency,
               uint32_t framesPerSecond) {
  if (framesPerSecond == 0) return;
  const double budget = 1000.0 / framesPerSecond;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const double spent =
      1000.0 * double(now.QuadPart - frameStart.QuadPart) / double(frequency.QuadPart);
  if (spent < budget) Sleep(static_cast<DWORD>(budget - spent));
}

void RenderLoop(Renderer& r) {
  if (!CreateEverything(r)) return;
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
    ServeFormat(r);
    ServeRecreate(r);
    ServeOldReferences(r);
    ServeProductObjects(r);
    if (r.swapChain != nullptr) PresentFrame(r);
    PaceFrame(frameStart, frequency, framesPerSecond);
  }
}

}  // namespace

void StartRenderThread(std::unique_lock<std::mutex>& hold) {
  renderer.running = true;
  renderer.thread = std::thread([] { RenderLoop(renderer); });
  WaitUntil(hold, [] { return renderer.frames > 0 || !renderer.running; });
}

}  // namespace render

using render::renderer;
using render::WaitUntil;

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
    // The render thread may not have made its swap chain yet on a slow machine.
    if (renderer.swapChain == nullptr) return HMODULE{nullptr};
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
  StopSecondDevice(nullptr);
  {
    std::lock_guard<std::mutex> hold(renderer.mutex);
    if (!renderer.running) return;
    renderer.stop = true;
  }
  if (renderer.thread.joinable()) renderer.thread.join();
}

}  // namespace sim
