#include "overlay/present_hook.h"

#include <d3d11.h>

#include "base/log.h"
#include "base/patch.h"
#include "base/thread_flag.h"
#include "overlay/overlay_frame.h"
#include "overlay/overlay_renderer.h"

namespace artwheel {

namespace {

constexpr int kPresentSlot = 8;  // IUnknown (3), IDXGIObject (4), GetDevice, then Present
constexpr wchar_t kDummyClassName[] = L"ArtwheelOverlayDummyWindow";

bool hookInstalled = false;
ThreadFlag inPresent;

LRESULT CALLBACK DummyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateDummyWindow() {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DummyWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kDummyClassName;
  RegisterClassExW(&windowClass);  // already registered on a second attempt: fine
  return CreateWindowExW(0, kDummyClassName, kDummyClassName, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                         nullptr, nullptr, windowClass.hInstance, nullptr);
}

struct DummyObjects {
  IDXGISwapChain* swapChain = nullptr;
  ID3D11Device* device = nullptr;
  ID3D11DeviceContext* context = nullptr;

  void Release() {
    if (context != nullptr) context->Release();
    if (device != nullptr) device->Release();
    if (swapChain != nullptr) swapChain->Release();
    context = nullptr;
    device = nullptr;
    swapChain = nullptr;
  }
};

bool CreateDummySwapChain(PFN_D3D11_CREATE_DEVICE_AND_SWAP_CHAIN create, HWND window,
                          DummyObjects& objects) {
  DXGI_SWAP_CHAIN_DESC description = {};
  description.BufferDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
  description.SampleDesc.Count = 1;
  description.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
  description.BufferCount = 1;
  description.OutputWindow = window;
  description.Windowed = TRUE;
  description.SwapEffect = DXGI_SWAP_EFFECT_DISCARD;
  const D3D_FEATURE_LEVEL levels[] = {D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_10_0};
  D3D_FEATURE_LEVEL obtained = {};
  for (D3D_DRIVER_TYPE driver : {D3D_DRIVER_TYPE_HARDWARE, D3D_DRIVER_TYPE_WARP}) {
    const HRESULT result =
        create(nullptr, driver, nullptr, 0, levels, 2, D3D11_SDK_VERSION, &description,
               &objects.swapChain, &objects.device, &obtained, &objects.context);
    if (SUCCEEDED(result)) break;
    objects.Release();
  }
  if (objects.swapChain == nullptr) {
    objects.Release();
    return false;
  }
  return true;
}

}  // namespace

Hook presentHook{"IDXGISwapChain::Present",
                 TableKind::kMethod,
                 kPresentSlot,
                 &PresentDetour,
                 1,
                 HookLines{"[Overlay] DXGI Present vtable hook installed",
                           "[Overlay] Could not make Present vtable writable"}};

bool WithOwnSwapChain(void (*use)(IDXGISwapChain* swapChain)) {
  HMODULE d3d11 = LoadLibraryA("d3d11.dll");  // never freed: the patched table lives in it
  if (d3d11 == nullptr) {
    WriteLogLine("[Overlay] Could not load d3d11.dll");
    return false;
  }
  const auto create = reinterpret_cast<PFN_D3D11_CREATE_DEVICE_AND_SWAP_CHAIN>(
      reinterpret_cast<void*>(GetProcAddress(d3d11, "D3D11CreateDeviceAndSwapChain")));
  if (create == nullptr) {
    WriteLogLine("[Overlay] D3D11CreateDeviceAndSwapChain not found");
    return false;
  }
  HWND window = CreateDummyWindow();
  if (window == nullptr) {
    WriteLogLine("[Overlay] Could not create dummy window");
    return false;
  }
  DummyObjects objects;
  if (!CreateDummySwapChain(create, window, objects)) {
    DestroyWindow(window);
    WriteLogLine("[Overlay] Could not create dummy D3D11 swap chain");
    return false;
  }
  use(objects.swapChain);
  objects.Release();
  DestroyWindow(window);
  return true;
}

bool InstallPresentHook() {
  if (hookInstalled) return true;
  WithOwnSwapChain([](IDXGISwapChain* swapChain) {
    const PatchStatus status = presentHook.Redirect(*reinterpret_cast<void***>(swapChain));
    hookInstalled = InPlace(status);
    ReportRedirect(presentHook, status);
  });
  return hookInstalled;
}

HRESULT STDMETHODCALLTYPE PresentDetour(IDXGISwapChain* swapChain, UINT syncInterval, UINT flags) {
  if (!inPresent.IsSet()) {
    ThreadFlagScope drawing(inPresent);
    DrawOverlayFrame(swapChain);
  }
  const auto original = presentHook.Original<PresentFn>();
  const HRESULT result = original != nullptr ? original(swapChain, syncInterval, flags) : E_FAIL;
  if (result == DXGI_ERROR_DEVICE_REMOVED || result == DXGI_ERROR_DEVICE_RESET) {
    NoteDeviceLost(swapChain, result);
  }
  return result;
}

}  // namespace artwheel
