// Failures of the game's Present on request, injected below any hook of it.
#include <dxgi.h>
#include <windows.h>

#include <atomic>
#include <cstdio>

#include "game_renderer.h"
#include "game_renderer_record.h"

namespace sim {
namespace render {
namespace {

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

}  // namespace

void WrapPresent(IDXGISwapChain* swapChain) {
  void** table = *reinterpret_cast<void***>(swapChain);
  if (table[kPresentSlot] == reinterpret_cast<void*>(&FaultyPresent)) return;
  DWORD old = 0;
  if (!VirtualProtect(&table[kPresentSlot], sizeof(void*), PAGE_EXECUTE_READWRITE, &old)) return;
  driverPresent.store(reinterpret_cast<PresentFn>(table[kPresentSlot]));
  table[kPresentSlot] = reinterpret_cast<void*>(&FaultyPresent);
  VirtualProtect(&table[kPresentSlot], sizeof(void*), old, &old);
}

}  // namespace render

using render::renderer;
using render::WaitUntil;

void UseFaultyPresent() {
  std::lock_guard<std::mutex> hold(renderer.mutex);
  renderer.faultyPresent = true;
}

void FailPresents(std::FILE* results, HRESULT result, int count) {
  std::unique_lock<std::mutex> hold(renderer.mutex);
  if (render::driverPresent.load() == nullptr) {
    std::fprintf(results, "failpresent error no faultypresent before the window\n");
    return;
  }
  render::injectedFailure.store(result);
  render::failingSwapChain.store(renderer.swapChain);
  render::failuresLeft.store(count);
  const uint64_t target = renderer.frames + static_cast<uint64_t>(count);
  WaitUntil(hold, [&] { return renderer.frames >= target; });
  std::fprintf(results, "failpresent 0x%08lX %d\n", static_cast<unsigned long>(result), count);
}

}  // namespace sim
