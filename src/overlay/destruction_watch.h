#pragma once
// Learns that a COM object was destroyed without holding a reference to it:
// attached to the object as private data (SetPrivateDataInterface), it is
// released by the object's destruction. Never freed by its references.
#include <unknwn.h>

#include <atomic>

namespace artwheel {

struct DestructionWatch final : IUnknown {
  std::atomic<ULONG> references{0};

  // True while some object still holds the watch.
  bool Held() const { return references.load(std::memory_order_acquire) != 0; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (id != __uuidof(IUnknown)) return E_NOINTERFACE;
    AddRef();
    *object = this;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
};

}  // namespace artwheel
