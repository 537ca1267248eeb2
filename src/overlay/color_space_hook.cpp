#include "overlay/color_space_hook.h"

#include <atomic>

#include "base/log.h"
#include "overlay/present_hook.h"

namespace artwheel {
namespace {

// IUnknown (3), IDXGIObject (4), GetDevice, IDXGISwapChain (10),
// IDXGISwapChain1 (11), IDXGISwapChain2 (7), GetCurrentBackBufferIndex,
// CheckColorSpaceSupport, then SetColorSpace1.
constexpr int kSetColorSpace1Slot = 38;

constexpr GUID kColorSpaceDataId = {
    0x5b7d2e94, 0x0c61, 0x4f3a, {0xa8, 0x52, 0x1e, 0x9f, 0x47, 0xc0, 0x3b, 0x6d}};

std::atomic<bool> installTried{false};
// The last call's colour space and result, so that a game that sets its
// colour space again and again writes its line once.
std::atomic<uint64_t> lastCallLogged{~uint64_t{0}};

void LogCallOnce(DXGI_COLOR_SPACE_TYPE colorSpace, HRESULT result) {
  const uint64_t call =
      (uint64_t{static_cast<uint32_t>(colorSpace)} << 32) | static_cast<uint32_t>(result);
  if (lastCallLogged.exchange(call) == call) return;
  WriteLogFormat("[Overlay] Game's SetColorSpace1(%u) %s: 0x%08X",
                 static_cast<unsigned>(colorSpace), SUCCEEDED(result) ? "accepted" : "refused",
                 static_cast<unsigned>(result));
}

void RedirectThrough(IDXGISwapChain* ownSwapChain) {
  IDXGISwapChain3* swapChain3 = nullptr;
  const HRESULT result = ownSwapChain->QueryInterface(__uuidof(IDXGISwapChain3),
                                                      reinterpret_cast<void**>(&swapChain3));
  if (FAILED(result) || swapChain3 == nullptr) {
    WriteLogFormat(
        "[Overlay] This DXGI has no IDXGISwapChain3 (0x%08X); colour spaces set by the game "
        "are not seen",
        static_cast<unsigned>(result));
    return;
  }
  ReportRedirect(colorSpaceHook, colorSpaceHook.Redirect(*reinterpret_cast<void***>(swapChain3)));
  swapChain3->Release();
}

}  // namespace

Hook colorSpaceHook{"IDXGISwapChain3::SetColorSpace1", TableKind::kMethod, kSetColorSpace1Slot,
                    &SetColorSpace1Detour};

void InstallColorSpaceHook() {
  if (installTried.exchange(true)) return;
  WithOwnSwapChain(&RedirectThrough);
}

ColorSpaceCall ReadColorSpace(IDXGISwapChain* swapChain) {
  UINT value = 0;
  UINT size = sizeof value;
  ColorSpaceCall call;
  if (SUCCEEDED(swapChain->GetPrivateData(kColorSpaceDataId, &size, &value)) &&
      size == sizeof value) {
    call.called = true;
    call.colorSpace = value;
  }
  return call;
}

HRESULT STDMETHODCALLTYPE SetColorSpace1Detour(IDXGISwapChain3* swapChain,
                                               DXGI_COLOR_SPACE_TYPE colorSpace) {
  using SetColorSpace1Fn = HRESULT(STDMETHODCALLTYPE*)(IDXGISwapChain3*, DXGI_COLOR_SPACE_TYPE);
  const auto original = colorSpaceHook.Original<SetColorSpace1Fn>();
  const HRESULT result = original != nullptr ? original(swapChain, colorSpace) : E_FAIL;
  // A refused call leaves the swap chain's colour space as it was.
  if (SUCCEEDED(result)) {
    const UINT value = static_cast<UINT>(colorSpace);
    swapChain->SetPrivateData(kColorSpaceDataId, sizeof value, &value);
  }
  LogCallOnce(colorSpace, result);
  return result;
}

}  // namespace artwheel
