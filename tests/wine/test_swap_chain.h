#pragma once
// A swap chain that only the overlay sees: a real device and a real back
// buffer behind a description the caller chooses, with every call counted.
#include <d3d11.h>
#include <windows.h>

#include "overlay/present_hook.h"

namespace artwheel {

class TestSwapChain : public IDXGISwapChain {
 public:
  TestSwapChain(ID3D11Device* device, UINT width, UINT height, UINT describedWidth,
                UINT describedHeight, DXGI_FORMAT format = DXGI_FORMAT_R8G8B8A8_UNORM)
      : device_(device),
        describedWidth_(describedWidth),
        describedHeight_(describedHeight),
        format_(format) {
    D3D11_TEXTURE2D_DESC description = {};
    description.Width = width;
    description.Height = height;
    description.MipLevels = 1;
    description.ArraySize = 1;
    description.Format = format;
    description.SampleDesc.Count = 1;
    description.BindFlags = D3D11_BIND_RENDER_TARGET;
    device_->CreateTexture2D(&description, nullptr, &backBuffer_);
  }
  virtual ~TestSwapChain() {
    if (backBuffer_ != nullptr) backBuffer_->Release();
  }

  // A visible window of the process, as the game's swap chain presents to.
  static HWND Window() {
    static HWND window = CreateWindowExW(WS_EX_NOACTIVATE, L"STATIC", L"test swap chain",
                                         WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 64, 64, nullptr,
                                         nullptr, nullptr, nullptr);
    return window;
  }

  int getBufferCalls = 0;
  int getDescCalls = 0;
  bool presentFromGetDesc = false;
  ID3D11Texture2D* backBuffer() { return backBuffer_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID, UINT, const void*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetPrivateDataInterface(REFGUID, const IUnknown*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID, UINT*, void*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetParent(REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDevice(REFIID riid, void** out) override {
    return device_->QueryInterface(riid, out);
  }
  HRESULT STDMETHODCALLTYPE Present(UINT, UINT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetBuffer(UINT index, REFIID riid, void** out) override {
    ++getBufferCalls;
    if (index != 0) return DXGI_ERROR_INVALID_CALL;
    return backBuffer_->QueryInterface(riid, out);
  }
  HRESULT STDMETHODCALLTYPE SetFullscreenState(BOOL, IDXGIOutput*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetFullscreenState(BOOL*, IDXGIOutput**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDesc(DXGI_SWAP_CHAIN_DESC* description) override {
    ++getDescCalls;
    if (presentFromGetDesc) {
      presentFromGetDesc = false;
      PresentDetour(this, 0, 0);  // a Present reached from inside the drawing
    }
    *description = {};
    description->BufferDesc.Width = describedWidth_;
    description->BufferDesc.Height = describedHeight_;
    description->BufferDesc.Format = format_;
    description->BufferCount = 1;
    description->OutputWindow = Window();
    description->Windowed = TRUE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ResizeBuffers(UINT, UINT, UINT, DXGI_FORMAT, UINT) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ResizeTarget(const DXGI_MODE_DESC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainingOutput(IDXGIOutput**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetFrameStatistics(DXGI_FRAME_STATISTICS*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetLastPresentCount(UINT*) override { return E_NOTIMPL; }

 private:
  ID3D11Device* device_;
  ID3D11Texture2D* backBuffer_ = nullptr;
  UINT describedWidth_;
  UINT describedHeight_;
  DXGI_FORMAT format_;
};

}  // namespace artwheel
